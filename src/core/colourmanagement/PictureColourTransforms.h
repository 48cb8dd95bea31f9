#pragma once
#include <cstdint>

#include "colourmanagement/ProfileChain.h"
#include "imaging/DibBuffer.h"

namespace vx {

class CImageObj;

/// Transforms the picture in place through the planned chain (its transform kept for
/// the next picture, see ChainTransformCache): the best precalculation for mode 3, the
/// default otherwise; alpha is kept (CMYK pictures, whose byte 3 is K,
/// become opaque). False, the picture untouched, when a profile does not open, the
/// first profile is not of the picture's colour space ('RGB ' or 'CMYK'), or the chain
/// is refused (it must end in RGB).
bool TransformBuffer(const ProfileChainPlan& plan, DibBuffer* buffer, int mode, uint32_t pictureSpace);

/// The second pass of printer colour matching 2: the photo print profile to the layout's
/// printer profile.
bool TransformBufferThroughPrintProfile(CImageObj& item, int mode, DibBuffer* buffer);

/// Colour-manages a decoded picture of the item for a mode (see ProfileChain.h) with the
/// item's layout's output settings. Pictures that are neither 'RGB ' nor 'CMYK' stay
/// as they are (true). In mode 3 with printer colour matching 2 the picture goes to
/// sRGB without tint or proof (a Zel-mode item from the Zel working space, where its
/// converted pixels are) and then through the print profile; the item's tint, proof,
/// Zel mode and source description are put back afterwards whatever happens. False for a null buffer or a failed transform.
bool ColorManageImage(DibBuffer* buffer, CImageObj& item, int mode);

/// Makes picture loading colour-manage through ColorManageImage and gives the image
/// information texts their profile descriptions; called at start-up.
void InstallColourManagement();

}  // namespace vx
