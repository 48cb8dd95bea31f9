#include "model/CImageObj.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <new>
#include <utility>

#include "model/PictureLoader.h"
#include "model/PropertyTable.h"
#include "model/WorkingBitmapError.h"

namespace vx {
namespace {

CImageObj::Time FromStatx(const struct statx_timestamp& t) {
    using namespace std::chrono;
    return CImageObj::Time(duration_cast<system_clock::duration>(seconds(t.tv_sec) + nanoseconds(t.tv_nsec)));
}

}  // namespace

CImageObj::CImageObj(bool newId, std::string_view name) : CLayoutObj(newId, name, kKindImage) {
    mWorking.Assign(new (std::nothrow) TempBuffer);
}

const PropertyTable<CImageObj>& CImageObj::Properties() {
    using V = ValueType;
    using C = CImageObj;
#define VX_IMAGE_ENTRY(Type, Name) PropertyField<V::Type, &C::Get##Name, &C::Set##Name>("m" #Name),
    static const PropertyTable<CImageObj> table({
        VX_IMAGE_PROPERTIES(VX_IMAGE_ENTRY)
        // The working bitmap is never copied: duplicates share it on purpose only.
        PropertyField<V::Bitmap, &C::GetWorld, &C::SetWorld>("mWorld", PropertyCopy::Never),
        PropertyEntry<C>{"IsSaveFile", V::Flag,
                         [](C& r) { return PropertyValue(std::in_place_type<int32_t>, r.IsSaveFile()); },
                         nullptr, nullptr, /*member=*/false},
    });
#undef VX_IMAGE_ENTRY
    return table;
}

bool CImageObj::Access(std::string_view name, bool write, PropertyValue& value) {
    return Properties().Access(*this, name, write, value) || CLayoutObj::Access(name, write, value);
}

std::vector<CPropertyMember> CImageObj::InitPropertyNames() {
    return MembersThenBase<CLayoutObj>(*this, Properties());
}

void CImageObj::CopyFrom(const CObjNode& source, bool copyLink) {
    const CImageObj* src = &CopySourceAs<CImageObj>(source);
    if (src == this) return;
    CLayoutObj::CopyFrom(source, copyLink);
    mFilePath = src->mFilePath;
    mFileSize = src->mFileSize;
    mCreationTime = src->mCreationTime;
    mLastWriteTime = src->mLastWriteTime;
    mFrameColorValue = src->mFrameColorValue;
    mCropFrameColor = src->mCropFrameColor;
    mLabelText = src->mLabelText;
    mLabelFontName = src->mLabelFontName;
    mLabelFontColor = src->mLabelFontColor;
    mCaptionFontName = src->mCaptionFontName;
    mCaptionText = src->mCaptionText;
    mCaptionFontColor = src->mCaptionFontColor;
    mSourceProfile = src->mSourceProfile;
    mSimulationProfile = src->mSimulationProfile;
    mColorModeMark = src->mColorModeMark;
    mExif = src->mExif;
    Properties().CopyAll(*this, *src, false);
}

TempBuffer* CImageObj::NewTempBuffer() {
    auto* buffer = new (std::nothrow) TempBuffer;
    if (!buffer) throw WorkingBitmapError("no memory for an image item's working bitmap");
    return buffer;
}

bool CImageObj::SetWorkingBitmap(DibBufferPtr dib) {
    if (!dib) return false;
    TempBufferRef fresh(NewTempBuffer());
    // Stored marked as not owned, so that Free on a mapped view of it does nothing.
    const bool notOwned = DibBuffer::IsNotOwned(dib.get());
    DibBuffer::SetNotOwned(dib.get(), true);
    const bool stored = fresh->Create(dib.get(), DibBuffer::GetSize(dib.get()));
    DibBuffer::SetNotOwned(dib.get(), notOwned);
    if (!stored) return false;
    mWorking = fresh;
    return true;
}

DibBuffer* CImageObj::GetWorkingBuffer() const {
    return mWorking ? static_cast<DibBuffer*>(mWorking->View()) : nullptr;
}

int32_t CImageObj::IsSaveFile() const { return mWorking && mWorking->HasFile() ? 1 : 0; }

bool CImageObj::MakeWorkingBitmapUnique() {
    if (!mWorking || mWorking->RefCount() <= 1) return true;
    TempBufferRef own(NewTempBuffer());
    if (mWorking->HasFile()) {
        void* view = nullptr;
        uint64_t size = 0;
        if (!mWorking->Map(&view, &size, TempBuffer::kMapReadOnly)) return false;
        const bool copied = own->Create(view, size);
        mWorking->Unmap();
        if (!copied) return false;
    }
    mWorking = own;
    return true;
}

bool CImageObj::DuplicateImageData(const CImageObj& source) {
    if (!source.mDescription) {
        mDescription.reset();
        return false;
    }
    mDescription = source.mDescription;
    mWorking = source.mWorking;
    return true;
}

bool CImageObj::RebuildBitmap(const Rect16* cover) {
    if (!mDescription) return false;
    Rect16 target;
    if (mRotate & 5) target.Set(0, 0, mDescription->height, mDescription->width);
    else target.Set(0, 0, mDescription->width, mDescription->height);
    DibBufferPtr picture = LoadPictureBuffer(*this, kPictureModePrint, target, cover);
    return picture && SetWorkingBitmap(std::move(picture));
}

bool CImageObj::TakeFileFacts(const std::filesystem::path& path) {
    struct statx st {};
    if (statx(AT_FDCWD, path.c_str(), AT_STATX_SYNC_AS_STAT, STATX_BASIC_STATS | STATX_BTIME, &st) != 0 ||
        !S_ISREG(st.stx_mode))
        return false;
    mFilePath = path;
    mFileSize = st.stx_size;
    mLastWriteTime = FromStatx(st.stx_mtime);
    mCreationTime = (st.stx_mask & STATX_BTIME) ? FromStatx(st.stx_btime) : mLastWriteTime;
    return true;
}

}  // namespace vx
