#include "ui/shell/WxBusyIndicator.h"

#include <wx/utils.h>

#include "printing/BusyIndicator.h"

namespace vx {
namespace {

class WxBusyIndicator final : public BusyIndicator {
public:
    void BeginBusy() override { wxBeginBusyCursor(); }
    void EndBusy() override { wxEndBusyCursor(); }
};

}  // namespace

BusyIndicatorPtr MakeWxBusyIndicator() {
    return BusyIndicatorPtr(new WxBusyIndicator, [](BusyIndicator* p) { delete p; });
}

}  // namespace vx
