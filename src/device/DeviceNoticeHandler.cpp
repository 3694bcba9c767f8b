#include "device/DeviceNoticeHandler.h"

#include <string>

#include "device/CommandSet.h"
#include "device/DeviceImage.h"
#include "device/DeviceNotice.h"
#include "device/SettingsBlock.h"
#include "platform/MessageSink.h"
#include "profile/ProfileRecord.h"
#include "text/MainWindowTexts.h"

namespace veldrane {

namespace {

constexpr std::uint8_t kFirstStage = 1;
constexpr std::uint8_t kLastStage = 6;
// The mouse counts CPI in steps of 50.
constexpr unsigned kCpiStep = 50;

} // namespace

DeviceNoticeHandler::DeviceNoticeHandler(DeviceLink& link, DeviceImage& image, const ProfileRecord& current,
                                         MessageSink& messages, Language language)
    : m_link(link), m_image(image), m_current(current), m_messages(messages), m_language(language)
{}

void DeviceNoticeHandler::HandleDeviceNotice(const DeviceNotice& notice)
{
    const MainWindowTexts& texts = MainWindowTextsFor(m_language);
    if (notice.code >= kNoticeCpiStageFirst && notice.code <= kNoticeCpiStageLast) {
        if (notice.value >= kFirstStage && notice.value <= kLastStage) {
            ShowCpiStage(notice.value);
        }
        return;
    }
    switch (notice.code) {
    case kNoticeMacroKey:
        if (notice.value != 0) {
            m_messages.ShowBalloon(std::string(texts.switchToMacroKey) + std::to_string(notice.value),
                                   kNoticeInfoTitle, kMouseEventBalloon);
        }
        break;
    case kNoticeMouseDetected:
        m_messages.ShowBalloon(texts.mouseDetected, kNoticeInfoTitle, kDeviceChangeBalloon);
        break;
    case kNoticeMouseNotDetected:
        m_messages.ShowBalloon(texts.mouseNotDetected, kNoticeWarningTitle, kDeviceChangeBalloon);
        break;
    default:
        break;
    }
}

void DeviceNoticeHandler::ShowCpiStage(std::uint8_t stage)
{
    ReadCurrentProfile(m_link, m_image);
    TransferSettingsBlock(m_link, m_image, BlockDirection::Read);
    // The stage's CPI is taken from the area of the record's profile number, which every download
    // sets to 0; a number the mouse reported out of range names area 0 rather than bytes outside
    // the settings areas.
    const auto area = m_image.SettingsArea(m_current.deviceProfile);
    const unsigned code = area[kSettingsBlockCpiCodes + stage - kFirstStage];
    const MainWindowTexts& texts = MainWindowTextsFor(m_language);
    m_messages.ShowBalloon(std::string(texts.cpiStageNotices[stage - kFirstStage]) + std::to_string(code * kCpiStep),
                           kNoticeInfoTitle, kMouseEventBalloon);
}

} // namespace veldrane
