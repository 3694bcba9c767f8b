#include "core/ini/IniFile.h"

#include <cerrno>
#include <fstream>
#include <iterator>
#include <limits>
#include <optional>
#include <system_error>

#include "core/ini/AtomicFile.h"
#include "core/ini/Blanks.h"
#include "core/ini/FileError.h"
#include "core/ini/IniDocument.h"
#include "core/ini/IniEncoding.h"
#include "core/ini/UnicodeText.h"

namespace veldrane {

namespace {

// The file as it stands on disk: its bytes, its lines and the form to write it back in.
struct LoadedFile
{
    std::string bytes;
    DecodedIniText decoded;
    IniDocument document;
};

// Nothing, with the reason in `error`, when the file exists but cannot be read: then it must not
// be written either, or the write would replace what it holds. A missing file reads as an empty
// UTF-8 file. What is no regular file (a FIFO, a directory) is never opened: a read could block.
std::optional<LoadedFile> Load(const std::filesystem::path& path, const IniEncoding& encoding, std::error_code& error)
{
    const std::filesystem::file_status status = std::filesystem::status(path, error);
    if (status.type() == std::filesystem::file_type::not_found) {
        error.clear();
        std::optional<LoadedFile> empty(std::in_place);
        return empty;
    }
    if (error) {
        return std::nullopt;
    }
    if (!std::filesystem::is_regular_file(status)) {
        error = std::filesystem::is_directory(status) ? std::make_error_code(std::errc::is_a_directory)
                                                      : make_error_code(FileError::NotRegularFile);
        return std::nullopt;
    }
    errno = 0;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = std::error_code(errno != 0 ? errno : EIO, std::generic_category());
        return std::nullopt;
    }
    LoadedFile loaded;
    loaded.bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (in.bad()) {
        error = std::make_error_code(std::errc::io_error);
        return std::nullopt;
    }
    loaded.decoded = encoding.Decode(loaded.bytes);
    loaded.document = IniDocument::Parse(loaded.decoded.text);
    return loaded;
}

// What a read into a buffer of that many characters keeps of a text: room for the terminator.
std::string FitToBuffer(std::string_view text, std::size_t bufferChars)
{
    return bufferChars == 0 ? std::string() : std::string(Utf8Prefix(text, bufferChars - 1));
}

} // namespace

std::string IniSnapshot::GetString(std::string_view section, std::string_view key, std::string_view defaultValue,
                                   std::size_t bufferChars) const
{
    const std::optional<std::string> value = m_document.Value(section, key);
    // Like the profile functions, the default loses its trailing blanks.
    return FitToBuffer(value ? std::string_view(*value) : TrimTrailingBlanks(defaultValue), bufferChars);
}

int IniSnapshot::GetInt(std::string_view section, std::string_view key) const
{
    return ParseDecimal(GetString(section, key));
}

std::vector<std::string> IniSnapshot::SectionNames() const
{
    return m_document.SectionNames();
}

std::vector<std::string> IniSnapshot::KeyNames(std::string_view section) const
{
    return m_document.KeyNames(section);
}

std::vector<IniEntry> IniSnapshot::Section(std::string_view section, std::size_t bufferChars) const
{
    std::vector<IniEntry> entries = m_document.Entries(section);
    for (IniEntry& entry : entries) {
        entry.value = FitToBuffer(entry.value, bufferChars);
    }
    return entries;
}

void IniBatch::WriteString(std::string_view section, std::string_view key, std::string_view value)
{
    m_edits.push_back({EditKind::Write, std::string(section), std::string(key), std::string(value)});
}

void IniBatch::WriteInt(std::string_view section, std::string_view key, int value)
{
    WriteString(section, key, std::to_string(value));
}

void IniBatch::DeleteKey(std::string_view section, std::string_view key)
{
    m_edits.push_back({EditKind::DeleteKey, std::string(section), std::string(key), {}});
}

void IniBatch::DeleteSection(std::string_view section)
{
    m_edits.push_back({EditKind::DeleteSection, std::string(section), {}, {}});
}

std::optional<IniWriteResult> IniBatch::Refusal() const
{
    for (const Edit& edit : m_edits) {
        if (edit.kind != EditKind::Write) {
            continue; // a name that cannot stand in the file matches nothing there
        }
        if (!IniDocument::IsValidSectionName(edit.section) || !IniDocument::IsValidKeyName(edit.key)) {
            return IniWriteResult::RefusedName;
        }
        if (!IniDocument::IsValidValue(edit.value)) {
            return IniWriteResult::RefusedValue;
        }
    }
    return std::nullopt;
}

bool IniBatch::ApplyTo(IniDocument& document) const
{
    bool changed = false;
    for (const Edit& edit : m_edits) {
        switch (edit.kind) {
        case EditKind::Write:
            document.SetValue(edit.section, edit.key, edit.value);
            changed = true;
            break;
        case EditKind::DeleteKey:
            changed = document.RemoveKey(edit.section, edit.key) || changed;
            break;
        case EditKind::DeleteSection:
            changed = document.RemoveSection(edit.section) || changed;
            break;
        }
    }
    return changed;
}

IniFile::IniFile(std::filesystem::path path, const TextCodec& codec, LegacyCodePage fallbackCodePage)
    : m_path(std::move(path)), m_codec(codec), m_fallbackCodePage(fallbackCodePage)
{}

bool IniFile::Exists() const
{
    std::error_code error;
    return std::filesystem::exists(m_path, error);
}

IniSnapshot IniFile::Read() const
{
    std::error_code error;
    auto loaded = Load(m_path, IniEncoding(m_codec, m_fallbackCodePage), error);
    return loaded ? IniSnapshot(std::move(loaded->document)) : IniSnapshot();
}

std::string IniFile::GetString(std::string_view section, std::string_view key, std::string_view defaultValue,
                               std::size_t bufferChars) const
{
    return Read().GetString(section, key, defaultValue, bufferChars);
}

int IniFile::GetInt(std::string_view section, std::string_view key) const
{
    return Read().GetInt(section, key);
}

std::vector<std::string> IniFile::SectionNames() const
{
    return Read().SectionNames();
}

std::vector<std::string> IniFile::KeyNames(std::string_view section) const
{
    return Read().KeyNames(section);
}

IniFile::CommitResult IniFile::Commit(const std::function<IniBatch(const IniSnapshot&)>& plan)
{
    const IniEncoding encoding(m_codec, m_fallbackCodePage);
    m_lastError.clear();
    auto loaded = Load(m_path, encoding, m_lastError);
    if (!loaded) {
        return {IniWriteResult::IoError, false};
    }
    if (!loaded->decoded.exact) {
        m_lastError = FileError::UndecodableText;
        return {IniWriteResult::IoError, false};
    }
    // The plan reads the very lines the edits then go to; they are lent, not copied.
    IniSnapshot lines(std::move(loaded->document));
    const IniBatch batch = plan(lines);
    IniDocument& document = lines.m_document;
    if (const auto refusal = batch.Refusal()) {
        return {*refusal, false};
    }
    if (!batch.ApplyTo(document)) {
        return {IniWriteResult::Written, false};
    }
    const auto bytes = encoding.EncodeForWrite(document.Serialise(), loaded->decoded.encoding);
    if (!bytes) {
        // A character the file's code page cannot hold would be lost; the file stays as it is.
        m_lastError = FileError::UnencodableText;
        return {IniWriteResult::IoError, true};
    }
    if (*bytes != loaded->bytes) {
        m_lastError = WriteFileAtomically(m_path, *bytes);
        if (m_lastError) {
            return {IniWriteResult::IoError, true};
        }
    }
    return {IniWriteResult::Written, true};
}

IniWriteResult IniFile::Apply(const IniBatch& batch)
{
    // Refused before the file is even read, as a single write always was.
    if (const auto refusal = batch.Refusal()) {
        return *refusal;
    }
    return Commit([&](const IniSnapshot&) { return batch; }).result;
}

IniWriteResult IniFile::Update(const std::function<IniBatch(const IniSnapshot&)>& plan)
{
    return Commit(plan).result;
}

IniWriteResult IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value)
{
    IniBatch batch;
    batch.WriteString(section, key, value);
    return Apply(batch);
}

IniWriteResult IniFile::WriteInt(std::string_view section, std::string_view key, int value)
{
    return WriteString(section, key, std::to_string(value));
}

bool IniFile::DeleteKey(std::string_view section, std::string_view key)
{
    IniBatch batch;
    batch.DeleteKey(section, key);
    const CommitResult commit = Commit([&](const IniSnapshot&) { return batch; });
    return commit.result == IniWriteResult::Written && commit.changed;
}

bool IniFile::DeleteSection(std::string_view section)
{
    IniBatch batch;
    batch.DeleteSection(section);
    const CommitResult commit = Commit([&](const IniSnapshot&) { return batch; });
    return commit.result == IniWriteResult::Written && commit.changed;
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
