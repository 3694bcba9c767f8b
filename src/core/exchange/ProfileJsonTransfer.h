#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "core/exchange/ProfileJson.h"

namespace veldrane {

class ConfigFiles;
class IniFile;
class TextCodec;

struct JsonExport
{
    std::string json;
    std::string error; // why nothing could be exported, in words; empty on success
};

struct JsonImport
{
    std::vector<std::string> problems; // what is wrong with the document: nothing was changed
    std::string error;                 // a file that could not be read or written, in words
    // Macros of the document whose name the macro file already gives to another macro: added
    // under a new name, "old name" -> "new name".
    std::vector<std::pair<std::string, std::string>> renamedMacros;

    bool Done() const { return problems.empty() && error.empty(); }
};

// The readable form of the named profiles' files: export of a stored profile with the macros of
// the macro file, and import into a profile's files that brings its macros into the macro file.
class ProfileJsonTransfer
{
public:
    ProfileJsonTransfer(ConfigFiles& files, IniFile& macroFile, const TextCodec& codec);

    // The profile at list position `index` as its files hold it.
    [[nodiscard]] JsonExport ExportStored(std::size_t index) const;
    // A record and labels under `name`, with the macros of the macro file.
    [[nodiscard]] std::string Export(const ProfileRecord& record, const std::array<std::string, kButtonCount>& labels,
                                     std::string_view name) const;

    // Reads `json` into the record and labels of the profile at list position `index`, which is
    // written to its configuration file (flag 1) and label file. A document with anything wrong
    // changes nothing and lists every bad field. Its macros go into the macro file: one with the
    // same content is used where it is, a new one is added at the end, and one whose name the
    // file gives to a macro of other content is added under a name of its own and reported,
    // never overwriting. Macros that would get no place among the mouse's twelve are refused
    // before anything is written.
    [[nodiscard]] JsonImport ImportInto(std::size_t index, std::string_view json);
    // The same into the given files (a profile file of the user's choice).
    [[nodiscard]] JsonImport ImportIntoFiles(const std::filesystem::path& configFile,
                                             const std::filesystem::path& labelFile, std::string_view json);
    // The document read, checked and placed against the macro file, without writing anything.
    [[nodiscard]] JsonImport Prepare(std::string_view json, ReadableProfile& profile,
                                     std::vector<MacroRecord>& added) const;

private:
    ProfileRecord Factory() const;
    std::vector<MacroRecord> MacroFileMacros() const;

    ConfigFiles& m_files;
    IniFile& m_macroFile;
    const TextCodec& m_codec;
};

} // namespace veldrane
