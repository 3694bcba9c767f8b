#pragma once

#include <memory>

#include "app/DeviceLinkConnection.h"
#include "app/MainWindowFixture.h"
#include "device/DeviceImage.h"
#include "device/DeviceLink.h"
#include "device/MouseSearch.h"
#include "sim/SimulatedMouse.h"

namespace veldrane::test {

// The main window wired to the simulated mouse through the real device link and download. The
// mouse is found and connected, and its report log starts empty.
class SimulatedMouseWindowFixture : public MainWindowFixture
{
protected:
    SimulatedMouseWindowFixture()
    {
        EXPECT_TRUE(FindMouse(link));
        link.SetConnected(true);
        simulated.ClearLog();
    }

    MainWindowModel& LinkedModel()
    {
        if (!linkedModel) {
            linkedModel = std::make_unique<MainWindowModel>(linkedContext, view);
        }
        return *linkedModel;
    }

    SimulatedMouse simulated{clock};
    DeviceLink link{simulated, clock};
    DeviceImage image;
    DeviceLinkConnection connection{link, image, files};
    AppContext linkedContext = ContextWith(connection);
    std::unique_ptr<MainWindowModel> linkedModel;
};

} // namespace veldrane::test
