#include "core/device/DeviceError.h"

#include <string>

namespace veldrane {

namespace {

class Category final : public std::error_category
{
public:
    const char* name() const noexcept override { return "veldrane.device"; }
    std::string message(int value) const override
    {
        switch (static_cast<DeviceError>(value)) {
        case DeviceError::NoMouse:
            return "the mouse was not found";
        case DeviceError::ReportNotTaken:
            return "the mouse did not take it";
        case DeviceError::NoAnswer:
            return "the mouse did not answer";
        case DeviceError::ShortBlock:
            return "the mouse did not answer with a whole block";
        case DeviceError::WrongAnswer:
            return "the mouse answered a profile it does not have";
        }
        return "unknown device error";
    }
};

} // namespace

const std::error_category& DeviceErrorCategory()
{
    static const Category category;
    return category;
}

} // namespace veldrane
