// The device side fed by whatever the interfaces answer: the search over any list of interfaces,
// the commands and block transfers of a download, and notices from any notification report with
// the reads they make. Nothing may read or write outside a buffer, whatever lengths the answers
// announce, and a read never asks for more than its buffer holds. The download keeps its word
// whatever the mouse does: it sends nothing after the first report that failed, writes the
// settings block (0x0C) only after the mouse's whole answer to 0x8C, and says it failed exactly
// when a report failed.

#include <algorithm>
#include <memory>
#include <vector>

#include "FuzzSupport.h"
#include "core/device/CommandSet.h"
#include "core/device/DeviceImage.h"
#include "core/device/DeviceLink.h"
#include "core/device/DeviceListener.h"
#include "core/device/DeviceNotice.h"
#include "core/device/DeviceNoticeHandler.h"
#include "core/device/HidTransport.h"
#include "core/device/MouseSearch.h"
#include "core/device/ProfileDownload.h"
#include "core/device/SettingsBlock.h"
#include "core/profile/ProfileRecord.h"
#include "ports/HidBackend.h"
#include "support/FakeClock.h"
#include "support/RecordingMessageSink.h"

namespace {

using namespace veldrane;

// Every answer of every interface comes from the input, in the order they are asked for.
bool Succeeds(fuzz::InputReader& input)
{
    return (input.Byte() & 0x0F) != 0;
}

// Fills `report` with the next bytes of the input; always true, so that a successful answer can
// be filled in the same expression.
bool Fill(fuzz::InputReader& input, std::span<std::uint8_t> report)
{
    const std::string_view bytes = input.Bytes(input.Byte() % (report.size() + 8));
    std::copy_n(bytes.begin(), std::min(bytes.size(), report.size()), report.begin());
    return true;
}

HidReadResult Read(fuzz::InputReader& input, std::span<std::uint8_t> report)
{
    const std::uint8_t kind = input.Byte();
    if (kind < 0x20) {
        return {0, kind < 0x10}; // the interface is gone, or nothing came in time
    }
    Fill(input, report);
    return {std::min<std::size_t>(report.size(), input.Byte()), false};
}

// One report exchanged with an interface, as the download's promises are checked against.
struct Exchange
{
    enum class Kind
    {
        SetFeature,
        GetFeature,
        WriteOutput,
        ReadInput,
    } kind;
    bool ok = false;            // the interface took the report, or a read brought one
    std::uint8_t code = 0;      // SetFeature: the command code; GetFeature: the answer's block length
    std::uint8_t parameter = 0; // SetFeature: the command's parameter
    std::size_t dataBytes = 0;  // ReadInput: the bytes of block data that came (the report id left out)
};

class ScriptedDevice : public HidDevice
{
public:
    ScriptedDevice(fuzz::InputReader& input, std::vector<Exchange>& log) : m_input(input), m_log(log) {}

    bool SetFeature(std::span<const std::uint8_t> report) override
    {
        const bool ok = Succeeds(m_input);
        m_log.push_back({Exchange::Kind::SetFeature, ok, ByteAt(report, kReportDataOffset + kCommandCode),
                         ByteAt(report, kReportDataOffset + kCommandParameter), 0});
        return ok;
    }
    bool GetFeature(std::span<std::uint8_t> report) override
    {
        const bool ok = Succeeds(m_input) && Fill(m_input, report);
        m_log.push_back(
            {Exchange::Kind::GetFeature, ok, ByteAt(report, kReportDataOffset + kCommandBlockLength), 0, 0});
        return ok;
    }
    bool WriteOutput(std::span<const std::uint8_t>) override
    {
        const bool ok = Succeeds(m_input);
        m_log.push_back({Exchange::Kind::WriteOutput, ok, 0, 0, 0});
        return ok;
    }
    HidReadResult ReadInput(std::span<std::uint8_t> report, std::chrono::milliseconds) override
    {
        const HidReadResult read = Read(m_input, report);
        const std::size_t length = std::min(read.length, report.size());
        m_log.push_back({Exchange::Kind::ReadInput, !read.failed && length > kReportDataOffset, 0, 0,
                         length > kReportDataOffset ? std::min(length - kReportDataOffset, kBlockChunkSize) : 0});
        return read;
    }
    HidReadResult WaitInput(std::span<std::uint8_t> report) override { return Read(m_input, report); }
    void Wake() override {}

private:
    static std::uint8_t ByteAt(std::span<const std::uint8_t> r, std::size_t at) { return at < r.size() ? r[at] : 0; }

    fuzz::InputReader& m_input;
    std::vector<Exchange>& m_log;
};

// The download's promises, checked on what it exchanged with the mouse.
void CheckDownload(const std::vector<Exchange>& log, const DownloadResult& result)
{
    const auto failed = std::find_if(log.begin(), log.end(), [](const Exchange& exchange) { return !exchange.ok; });
    fuzz::Require(failed == log.end() || failed + 1 == log.end(), "a report went out after one that failed");

    // The settings block read: the answer's length and the data that came after it.
    bool readWhole = false;
    for (auto exchange = log.begin(); exchange != log.end(); ++exchange) {
        if (exchange->kind != Exchange::Kind::SetFeature) {
            continue;
        }
        if (exchange->code == kCommandReadSettingsBlock) {
            const auto answer = exchange + 1;
            std::size_t data = 0;
            for (auto read = answer + 1;
                 answer != log.end() && read != log.end() && read->kind == Exchange::Kind::ReadInput && read->ok;
                 ++read) {
                data += read->dataBytes;
                if (read->dataBytes < kBlockChunkSize) {
                    break;
                }
            }
            readWhole = answer != log.end() && answer->ok && answer->code == kImageBlockSize && data >= kImageBlockSize;
        }
        if (exchange->code == kCommandWriteSettingsBlock) {
            fuzz::Require(readWhole, "the settings block was written without the whole answer to 0x8C");
        }
    }

    // Taken exactly when every report went through, the last macro's included.
    const auto lastMacro = [](const Exchange& sent) {
        return sent.kind == Exchange::Kind::SetFeature && sent.code == kCommandWriteMacro &&
               sent.parameter == kImageMacroCount;
    };
    const bool lastMacroSent =
        std::any_of(log.begin(), log.end(), lastMacro) && log.back().kind == Exchange::Kind::WriteOutput;
    if (result.Taken()) {
        fuzz::Require(failed == log.end() && readWhole && lastMacroSent, "a download that failed said it was taken");
        return;
    }
    fuzz::Require(failed != log.end() || !readWhole, "a download where every report went through said it failed");
    // The command named is that of the exchange that failed; a block that came short is 0x8C's.
    std::uint8_t named = kCommandReadSettingsBlock;
    for (auto exchange = log.begin(); failed != log.end() && exchange <= failed; ++exchange) {
        if (exchange->kind == Exchange::Kind::SetFeature) {
            named = exchange->code;
        }
    }
    fuzz::Require(result.sent.command == named, "a failed download named another command than the one that failed");
}

class ScriptedBackend : public HidBackend
{
public:
    explicit ScriptedBackend(fuzz::InputReader& input) : m_input(input) {}

    // Every report exchanged with any interface opened, in order.
    std::vector<Exchange> log;

    std::vector<HidInterfaceInfo> Enumerate() override
    {
        std::vector<HidInterfaceInfo> interfaces(m_input.Byte() % 5);
        m_inputLengths.clear();
        for (HidInterfaceInfo& info : interfaces) {
            const std::uint8_t kind = m_input.Byte();
            info.path = std::to_string(m_inputLengths.size());
            info.vendorId = (kind & 0x80) != 0 ? 0x046D : kMouseVendorId;
            info.productId = kMouseProductId;
            const bool command = (kind & 0x01) != 0;
            info.usagePage = command ? kCommandUsagePage : kNotificationUsagePage;
            info.usage = command ? kCommandUsage : kNotificationUsage;
            // Mostly the mouse's own lengths, sometimes anything.
            const auto length = [&](std::uint16_t usual) { return m_input.Byte() < 0xC0 ? usual : m_input.Word(); };
            info.inputReportLength = length(command ? 65 : 8);
            info.outputReportLength = length(command ? 65 : 0);
            info.featureReportLength = length(command ? 9 : 0);
            m_inputLengths.push_back(info.inputReportLength);
        }
        return interfaces;
    }
    std::unique_ptr<HidDevice> Open(const std::string& path, HidOpenMode mode) override
    {
        auto device = Succeeds(m_input) ? std::make_unique<ScriptedDevice>(m_input, log) : nullptr;
        if (device != nullptr && mode == HidOpenMode::Reading && listener == nullptr) {
            listener = device.get(); // the search keeps the first notification interface it opens
            listenerInputLength = m_inputLengths.at(std::stoul(path));
        }
        return device;
    }

    HidDevice* listener = nullptr;
    std::uint16_t listenerInputLength = 0;

private:
    std::vector<std::uint16_t> m_inputLengths;
    fuzz::InputReader& m_input;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::InputReader input(data, size);
    ScriptedBackend backend(input);
    test::FakeClock clock;
    DeviceLink link(backend, clock);
    DeviceImage image;
    if (!FindMouse(link).Done()) {
        return 0;
    }
    const DeviceOutcome mode = SendModeByte(link, image);
    fuzz::Require(mode.Done() || mode.command == kCommandModeByte, "a failed 0x01 named another command");
    image.bytes[kImageProfileNumber] = 0xEE;
    const DeviceOutcome number = ReadCurrentProfile(link, image);
    fuzz::Require(number.error != DeviceError::NoAnswer || image.bytes[kImageProfileNumber] == 0xEE,
                  "a lost answer to 0x82 changed the profile number");
    fuzz::Require(number.error != DeviceError::WrongAnswer || image.bytes[kImageProfileNumber] >= kSettingsAreaCount,
                  "a profile number the mouse has was called wrong");
    const DeviceImage before = image;
    if (!TransferSettingsBlock(link, image, BlockDirection::Read).Done()) {
        fuzz::Require(image.bytes == before.bytes, "a failed read of the settings block changed the image");
    }

    ProfileRecord record;
    const std::string_view recordBytes = input.Bytes(kProfileRecordSize);
    std::copy(recordBytes.begin(), recordBytes.end(), record.Bytes().begin());
    backend.log.clear();
    const DownloadResult result = WriteProfileToMouse(link, image, record);
    CheckDownload(backend.log, result);

    test::RecordingMessageSink messages;
    DeviceNoticeHandler handler(link, image, messages, static_cast<Language>(input.Byte() % 3));
    for (int report = 0; report < 4 && backend.listener != nullptr && !input.Empty(); ++report) {
        // As the listener reads: its input length, at most its buffer.
        std::vector<std::uint8_t> buffer(std::min<std::size_t>(backend.listenerInputLength, kListenerBufferSize));
        const std::size_t length = std::min(backend.listener->WaitInput(buffer).length, buffer.size());
        if (const auto notice = ParseNotificationReport(std::span(buffer).first(length))) {
            handler.HandleDeviceNotice(*notice);
        }
    }
    for (const auto& shown : messages.shown) {
        fuzz::Require(!shown.text.empty() && !shown.title.empty(), "an empty message was shown");
    }
    return 0;
}
