#include "platform/driver/DriverModule.h"

namespace vx {

const char* DriverOperationName(DriverOperation op) {
    switch (op) {
    case DriverOperation::Open: return "Open";
    case DriverOperation::GetDriverInfo: return "GetDriverInfo";
    case DriverOperation::GetCommandLevel: return "GetCommandLevel";
    case DriverOperation::GetRange: return "GetRange";
    case DriverOperation::GetData: return "GetData";
    case DriverOperation::SetData: return "SetData";
    case DriverOperation::CreateDC: return "CreateDC";
    case DriverOperation::ResetDC: return "ResetDC";
    case DriverOperation::DeleteDC: return "DeleteDC";
    case DriverOperation::GetDevMode: return "GetDevMode";
    case DriverOperation::UpdateDevMode: return "UpdateDevMode";
    case DriverOperation::Close: return "Close";
    }
    return "?";
}

}  // namespace vx
