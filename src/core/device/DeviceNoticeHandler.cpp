#include "core/device/DeviceNoticeHandler.h"

#include <string>

#include "core/device/CommandSet.h"
#include "core/device/DeviceImage.h"
#include "core/device/DeviceNotice.h"
#include "core/device/SettingsBlock.h"
#include "core/profile/ProfileRecord.h"
#include "core/text/MainWindowTexts.h"
#include "core/text/MessageTexts.h"
#include "ports/MessageSink.h"

namespace veldrane {

namespace {

constexpr std::uint8_t kFirstStage = 1;
constexpr std::uint8_t kLastStage = 6;

} // namespace

DeviceNoticeHandler::DeviceNoticeHandler(DeviceLink& link, DeviceImage& image, MessageSink& messages, Language language)
    : m_link(link), m_image(image), m_messages(messages), m_language(language)
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
            m_messages.ShowNotice(NoticeKind::MacroKey,
                                  std::string(texts.switchToMacroKey) + std::to_string(notice.value),
                                  MessageCaptionsFor(m_language).info, kMouseEventBalloon);
            if (m_observer) {
                m_observer->MacroKeyReported(notice.value);
            }
        }
        break;
    case kNoticeMouseDetected:
        m_messages.ShowNotice(NoticeKind::MousePlugged, texts.mouseDetected, MessageCaptionsFor(m_language).info,
                              kDeviceChangeBalloon);
        break;
    case kNoticeMouseNotDetected:
        m_messages.ShowNotice(NoticeKind::MouseUnplugged, texts.mouseNotDetected,
                              MessageCaptionsFor(m_language).warning, kDeviceChangeBalloon);
        break;
    default:
        break;
    }
}

void DeviceNoticeHandler::ShowCpiStage(std::uint8_t stage)
{
    // 0x8C brings the block of whatever profile the mouse is on into area 0, so that is where the
    // stage's CPI is, whichever profile number the mouse or the record names. A mouse that did not
    // answer 0x82 is not asked for the block; without one the balloon names the stage alone, since
    // the area holds an older block.
    const DeviceOutcome number = ReadCurrentProfile(m_link, m_image);
    const bool blockRead =
        number.error != DeviceError::NoAnswer && TransferSettingsBlock(m_link, m_image, BlockDirection::Read).Done();
    const unsigned cpi =
        blockRead ? m_image.SettingsArea(0)[kSettingsBlockCpiCodes + stage - kFirstStage] * unsigned{kCpiUnit} : 0;
    std::string text(MainWindowTextsFor(m_language).cpiStageNotices[stage - kFirstStage]);
    if (blockRead) {
        text += std::to_string(cpi);
    } else {
        text.pop_back(); // the blank before the number
    }
    m_messages.ShowNotice(NoticeKind::CpiStage, text, MessageCaptionsFor(m_language).info, kMouseEventBalloon);
    if (m_observer) {
        m_observer->CpiStageReported(stage, cpi);
    }
}

} // namespace veldrane
