#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

#include "core/ini/IniDocument.h"
#include "ports/TextCodec.h"

namespace veldrane {

// The size of the text buffers the system reads INI values into.
inline constexpr std::size_t kProfileBufferChars = 1024;

enum class [[nodiscard]] IniWriteResult{
    Written,
    RefusedName,  // a section or key name with a line break, '[' or ']' (or '=' in a key)
    RefusedValue, // a value with a line break
    IoError,      // the file could not be read whole or written; it is unchanged (IniFile::LastError)
};

// The whole of one INI file as it was read at one moment. Each query answers from it exactly as
// the IniFile read of the same name would have answered then, without going back to the disk, so
// that a caller that needs many values of one file reads it once.
class IniSnapshot
{
public:
    // What a missing or unreadable file reads as: no sections.
    IniSnapshot() = default;
    explicit IniSnapshot(IniDocument document) : m_document(std::move(document)) {}

    std::string GetString(std::string_view section, std::string_view key, std::string_view defaultValue = {},
                          std::size_t bufferChars = kProfileBufferChars) const;
    int GetInt(std::string_view section, std::string_view key) const;
    std::vector<std::string> SectionNames() const;
    std::vector<std::string> KeyNames(std::string_view section) const;
    // The keys of the first matching section in file order, each once, with the value GetString
    // gives it: a whole section for the cost of one lookup.
    std::vector<IniEntry> Section(std::string_view section, std::size_t bufferChars = kProfileBufferChars) const;

private:
    friend class IniFile; // IniFile::Update lends its plan the very lines it then edits

    IniDocument m_document;
};

// Edits of one INI file that are written together: IniFile::Apply applies them in order to the
// file's lines and writes the file once, or, when any one of them is refused, not at all. Each
// edit means what the IniFile call of the same name means; a delete of what is not there is no
// fault, it changes nothing.
class IniBatch
{
public:
    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    void WriteInt(std::string_view section, std::string_view key, int value);
    void DeleteKey(std::string_view section, std::string_view key);
    void DeleteSection(std::string_view section);

    bool Empty() const { return m_edits.empty(); }

    // RefusedName or RefusedValue for the first write whose names or value would change the
    // file's structure; nothing when every edit can stand in the file.
    std::optional<IniWriteResult> Refusal() const;
    // Applies every edit in order, once Refusal has found nothing; whether any edit did more
    // than delete something that was not there.
    bool ApplyTo(IniDocument& document) const;

private:
    enum class EditKind
    {
        Write,
        DeleteKey,
        DeleteSection,
    };
    struct Edit
    {
        EditKind kind;
        std::string section;
        std::string key;
        std::string value;
    };

    std::vector<Edit> m_edits;
};

// One INI file with the semantics that Windows' private-profile functions give it, which the
// stored files rely on. Every call reads the file from disk afresh, and every write, like every
// batch of writes, replaces it atomically; Read keeps one reading for many queries. All texts in and out are UTF-8; the
// file keeps the encoding it was read in (new files: UTF-8).
class IniFile
{
public:
    // fallbackCodePage decodes a legacy (non-Unicode) file that has no "Lan" key of its own.
    IniFile(std::filesystem::path path, const TextCodec& codec,
            LegacyCodePage fallbackCodePage = LegacyCodePage::Windows1252);
    // The file keeps a reference to its codec, which must outlive it.
    IniFile(std::filesystem::path path, const TextCodec&& codec, LegacyCodePage = LegacyCodePage::Windows1252) = delete;

    const std::filesystem::path& Path() const { return m_path; }
    bool Exists() const;

    // The value of the first matching key of the first matching section, blanks and one pair of
    // enclosing quotes removed, at most bufferChars - 1 characters; defaultValue when missing.
    std::string GetString(std::string_view section, std::string_view key, std::string_view defaultValue = {},
                          std::size_t bufferChars = kProfileBufferChars) const;

    // The value read as a signed decimal number the way _wtoi reads it: 0 when it is not one.
    int GetInt(std::string_view section, std::string_view key) const;

    // An existing key keeps its line and gets the new value; a new key goes after the last key of
    // its section, a new section at the end of the file, which the first write creates. A file
    // that cannot be read, or a value its legacy code page cannot hold, gives IoError and leaves
    // the file as it was.
    IniWriteResult WriteString(std::string_view section, std::string_view key, std::string_view value);
    IniWriteResult WriteInt(std::string_view section, std::string_view key, int value);

    // False when there was nothing to delete or the file could not be written. DeleteKey removes
    // the key from the first matching section, duplicates included, so that it then reads as
    // missing; DeleteSection removes every section of that name with all of its lines.
    [[nodiscard]] bool DeleteKey(std::string_view section, std::string_view key);
    [[nodiscard]] bool DeleteSection(std::string_view section);

    // Section names in file order, as they stand in the file (blanks trimmed); a duplicate name
    // is listed once, at its first place.
    std::vector<std::string> SectionNames() const;
    // Key names of the first matching section, in file order, each name once.
    std::vector<std::string> KeyNames(std::string_view section) const;

    // The file read once, for any number of queries. The reads above are each one Read.
    IniSnapshot Read() const;

    // Applies the batch to the file's lines and writes the file once, atomically. When an edit is
    // refused, the file cannot be read or written, or a value cannot be held by the file's legacy
    // code page, nothing is written: the file stays byte for byte as it was (or absent) and the
    // result says why. A batch that changes nothing writes nothing. The writes above are each
    // one batch of one edit.
    IniWriteResult Apply(const IniBatch& batch);
    // Apply with edits that depend on what the file holds: `plan` is given the file as it is read
    // for this write and returns the edits, which go to those very lines. One read, one write.
    // `plan` is not called when the file cannot be read.
    IniWriteResult Update(const std::function<IniBatch(const IniSnapshot&)>& plan);

    // Why the last write or delete of this object gave IoError (or found nothing to write): the
    // system's error, or a FileError for a file the program refuses to rewrite. Empty after a
    // write that succeeded.
    const std::error_code& LastError() const { return m_lastError; }

private:
    struct [[nodiscard]] CommitResult
    {
        IniWriteResult result;
        bool changed; // some edit changed the lines (the bytes may still have come out the same)
    };

    CommitResult Commit(const std::function<IniBatch(const IniSnapshot&)>& plan);

    std::filesystem::path m_path;
    const TextCodec& m_codec;
    LegacyCodePage m_fallbackCodePage;
    std::error_code m_lastError;
};

// Reads text as _wtoi does: leading blanks, an optional sign, then digits up to the first
// non-digit; 0 when there are none. Out-of-range values saturate.
int ParseDecimal(std::string_view text);

} // namespace veldrane
