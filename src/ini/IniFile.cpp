#include "ini/IniFile.h"

#include <fstream>
#include <iterator>
#include <limits>
#include <optional>
#include <system_error>

#include "ini/AtomicFile.h"
#include "ini/IniDocument.h"
#include "ini/IniEncoding.h"
#include "ini/UnicodeText.h"

namespace veldrane {

namespace {

// The file as it stands on disk: its bytes, its lines and the form to write it back in.
struct Snapshot
{
    std::string bytes;
    DecodedIniText decoded;
    IniDocument document;
};

// Nothing when the file exists but cannot be read: then it must not be written either, or the
// write would replace what it holds. A missing file reads as an empty UTF-8 file.
std::optional<Snapshot> Load(const std::filesystem::path& path, const IniEncoding& encoding)
{
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(path, error);
    if (status.type() == std::filesystem::file_type::not_found) {
        return Snapshot{};
    }
    if (error || !std::filesystem::is_regular_file(status)) {
        return std::nullopt;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    Snapshot snapshot;
    snapshot.bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (in.bad()) {
        return std::nullopt;
    }
    snapshot.decoded = encoding.Decode(snapshot.bytes);
    snapshot.document = IniDocument::Parse(snapshot.decoded.text);
    return snapshot;
}

enum class EditOutcome
{
    NothingToDo,
    Written,
    Failed,
};

// Applies `edit` to the file's lines and writes the file back in its own encoding. `edit` says
// whether it changed anything; when it did not, nothing is written.
template <typename Edit> EditOutcome Modify(const std::filesystem::path& path, const IniEncoding& encoding, Edit edit)
{
    auto snapshot = Load(path, encoding);
    if (!snapshot || !snapshot->decoded.exact) {
        return EditOutcome::Failed;
    }
    if (!edit(snapshot->document)) {
        return EditOutcome::NothingToDo;
    }
    const auto bytes = encoding.Encode(snapshot->document.Serialise(), snapshot->decoded.encoding);
    if (!bytes) {
        // A character the file's code page cannot hold would be lost; the file stays as it is.
        return EditOutcome::Failed;
    }
    if (*bytes == snapshot->bytes) {
        return EditOutcome::Written;
    }
    return WriteFileAtomically(path, *bytes) ? EditOutcome::Written : EditOutcome::Failed;
}

std::string_view TrimTrailingBlanks(std::string_view text)
{
    const std::size_t last = text.find_last_not_of(" \t");
    return last == std::string_view::npos ? std::string_view{} : text.substr(0, last + 1);
}

} // namespace

IniFile::IniFile(std::filesystem::path path, const TextCodec& codec, LegacyCodePage fallbackCodePage)
    : m_path(std::move(path)), m_codec(codec), m_fallbackCodePage(fallbackCodePage)
{}

bool IniFile::Exists() const
{
    std::error_code error;
    return std::filesystem::exists(m_path, error);
}

std::string IniFile::GetString(std::string_view section, std::string_view key, std::string_view defaultValue,
                               std::size_t bufferChars) const
{
    if (bufferChars == 0) {
        return {};
    }
    const auto snapshot = Load(m_path, IniEncoding(m_codec, m_fallbackCodePage));
    std::optional<std::string> value;
    if (snapshot) {
        value = snapshot->document.Value(section, key);
    }
    // Like the profile functions, the default loses its trailing blanks.
    const std::string_view text = value ? std::string_view(*value) : TrimTrailingBlanks(defaultValue);
    return std::string(Utf8Prefix(text, bufferChars - 1));
}

int IniFile::GetInt(std::string_view section, std::string_view key) const
{
    return ParseDecimal(GetString(section, key));
}

IniWriteResult IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value)
{
    if (!IniDocument::IsValidSectionName(section) || !IniDocument::IsValidKeyName(key)) {
        return IniWriteResult::RefusedName;
    }
    if (!IniDocument::IsValidValue(value)) {
        return IniWriteResult::RefusedValue;
    }
    const EditOutcome outcome = Modify(m_path, IniEncoding(m_codec, m_fallbackCodePage), [&](IniDocument& document) {
        document.SetValue(section, key, value);
        return true;
    });
    return outcome == EditOutcome::Written ? IniWriteResult::Written : IniWriteResult::IoError;
}

IniWriteResult IniFile::WriteInt(std::string_view section, std::string_view key, int value)
{
    return WriteString(section, key, std::to_string(value));
}

bool IniFile::DeleteKey(std::string_view section, std::string_view key)
{
    return Modify(m_path, IniEncoding(m_codec, m_fallbackCodePage),
                  [&](IniDocument& document) { return document.RemoveKey(section, key); }) == EditOutcome::Written;
}

bool IniFile::DeleteSection(std::string_view section)
{
    return Modify(m_path, IniEncoding(m_codec, m_fallbackCodePage),
                  [&](IniDocument& document) { return document.RemoveSection(section); }) == EditOutcome::Written;
}

std::vector<std::string> IniFile::SectionNames() const
{
    const auto snapshot = Load(m_path, IniEncoding(m_codec, m_fallbackCodePage));
    return snapshot ? snapshot->document.SectionNames() : std::vector<std::string>{};
}

std::vector<std::string> IniFile::KeyNames(std::string_view section) const
{
    const auto snapshot = Load(m_path, IniEncoding(m_codec, m_fallbackCodePage));
    return snapshot ? snapshot->document.KeyNames(section) : std::vector<std::string>{};
}

int ParseDecimal(std::string_view text)
{
    std::size_t position = text.find_first_not_of(" \t\n\v\f\r");
    if (position == std::string_view::npos) {
        return 0;
    }
    bool negative = false;
    if (text[position] == '+' || text[position] == '-') {
        negative = text[position] == '-';
        ++position;
    }
    // Accumulated towards the sign's side so that the most negative value needs no special case.
    constexpr int kMax = std::numeric_limits<int>::max();
    constexpr int kMin = std::numeric_limits<int>::min();
    int value = 0;
    for (; position < text.size() && text[position] >= '0' && text[position] <= '9'; ++position) {
        const int digit = text[position] - '0';
        if (negative) {
            if (value < (kMin + digit) / 10) {
                return kMin;
            }
            value = value * 10 - digit;
        } else {
            if (value > (kMax - digit) / 10) {
                return kMax;
            }
            value = value * 10 + digit;
        }
    }
    return value;
}

} // namespace veldrane
