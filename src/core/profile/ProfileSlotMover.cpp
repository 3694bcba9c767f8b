#include "core/profile/ProfileSlotMover.h"

#include <array>
#include <cerrno>
#include <fstream>
#include <iterator>
#include <system_error>

#include "core/ini/AtomicFile.h"
#include "core/ini/FileError.h"
#include "core/ini/IniFile.h"
#include "core/profile/ConfigFiles.h"
#include "core/profile/ProfileFileNames.h"

namespace veldrane {

namespace {

// What became of the work on `file`: the file is named only when it failed.
FileOutcome Outcome(std::error_code error, const std::filesystem::path& file)
{
    if (!error) {
        return {};
    }
    return {error, file};
}

struct FileRead
{
    std::error_code error;            // none when the file was read or is missing
    std::optional<std::string> bytes; // nothing for a missing file
};

FileRead ReadWhole(const std::filesystem::path& path)
{
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(path, error);
    if (status.type() == std::filesystem::file_type::not_found) {
        return {};
    }
    if (error) {
        return {error, std::nullopt};
    }
    if (status.type() != std::filesystem::file_type::regular) {
        return {std::make_error_code(std::errc::is_a_directory), std::nullopt};
    }
    errno = 0;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return {StreamError(), std::nullopt};
    }
    std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad()) {
        return {std::make_error_code(std::errc::io_error), std::nullopt};
    }
    return {{}, std::move(bytes)};
}

// The journal: a header line, then for each file its name, its size (or "-" for a file that did
// not exist) and its bytes, each name and size on a line of its own, and an end line. The end
// line shows that the journal was read whole.
constexpr std::string_view kJournalHeader = "veldrane profile move 1\n";
constexpr std::string_view kJournalEnd = "end\n";
constexpr std::string_view kJournalMissing = "-";

std::string JournalEntry(std::string_view name, const std::optional<std::string>& bytes)
{
    std::string entry(name);
    entry += '\n';
    entry += bytes ? std::to_string(bytes->size()) : std::string(kJournalMissing);
    entry += '\n';
    if (bytes) {
        entry += *bytes;
    }
    return entry;
}

struct JournalFile
{
    std::string name;
    std::optional<std::string> bytes;
};

std::optional<std::vector<JournalFile>> ParseJournal(std::string_view text)
{
    if (!text.starts_with(kJournalHeader)) {
        return std::nullopt;
    }
    text.remove_prefix(kJournalHeader.size());
    std::vector<JournalFile> files;
    const auto line = [&text]() -> std::optional<std::string_view> {
        const std::size_t end = text.find('\n');
        if (end == std::string_view::npos) {
            return std::nullopt;
        }
        const std::string_view found = text.substr(0, end);
        text.remove_prefix(end + 1);
        return found;
    };
    while (text != kJournalEnd) {
        const std::optional<std::string_view> name = line();
        const std::optional<std::string_view> size = line();
        // Only plain file names: a journal never sends a write outside its folder.
        if (!name || !size || name->empty() || name->find_first_of("/\\") != std::string_view::npos || *name == "." ||
            *name == "..") {
            return std::nullopt;
        }
        JournalFile file{std::string(*name), std::nullopt};
        if (*size != kJournalMissing) {
            if (size->empty() || size->find_first_not_of("0123456789") != std::string_view::npos || size->size() > 9) {
                return std::nullopt;
            }
            const std::size_t length = std::stoul(std::string(*size));
            if (length > text.size()) {
                return std::nullopt;
            }
            file.bytes = std::string(text.substr(0, length));
            text.remove_prefix(length);
        }
        files.push_back(std::move(file));
    }
    return files;
}

std::error_code RemoveFile(const std::filesystem::path& path)
{
    std::error_code error;
    std::filesystem::remove(path, error);
    return error;
}

// Puts one file back as the journal or the undo list has it.
std::error_code PutBack(const std::filesystem::path& path, const std::optional<std::string>& bytes)
{
    return bytes ? WriteFileAtomically(path, *bytes) : RemoveFile(path);
}

// What one file of a position is to hold.
struct Wanted
{
    std::optional<std::string> bytes; // nothing: the file is not to exist
    bool withoutList = false;         // a copy of "str.ini" that must lose its section "Profile"
};

struct Slot
{
    FileRead config;
    FileRead labels;
};

} // namespace

ProfileSlotMover::ProfileSlotMover(std::filesystem::path directory, const TextCodec& codec)
    : m_directory(std::move(directory)), m_codec(codec)
{}

ProfileSlotMover::Recovery ProfileSlotMover::Recover(const std::filesystem::path& directory)
{
    const std::filesystem::path journal = directory / kJournalName;
    const FileRead read = ReadWhole(journal);
    if (read.error) {
        return {read.error, {}};
    }
    if (!read.bytes) {
        return {};
    }
    const std::optional<std::vector<JournalFile>> files = ParseJournal(*read.bytes);
    if (!files) {
        // Nothing in it can be trusted to put back: the files stay as the cut-off step left them,
        // and the journal goes aside so that it is explained once, not at every start.
        std::error_code ignored;
        return {make_error_code(FileError::DamagedJournal), MoveAside(journal, ignored)};
    }
    std::error_code firstError;
    for (const JournalFile& file : *files) {
        const std::error_code error = PutBack(directory / file.name, file.bytes);
        if (!firstError) {
            firstError = error;
        }
    }
    return {firstError ? firstError : RemoveFile(journal), {}};
}

ProfileSlotMover::StepError ProfileSlotMover::BeginStep(const std::filesystem::path& directory,
                                                        std::span<const std::string> fileNames)
{
    std::string journal(kJournalHeader);
    for (const std::string& name : fileNames) {
        const FileRead read = ReadWhole(directory / name);
        if (read.error) {
            return {read.error, directory / name};
        }
        journal += JournalEntry(name, read.bytes);
    }
    journal += kJournalEnd;
    return {WriteFileAtomically(directory / kJournalName, journal), directory / kJournalName};
}

std::error_code ProfileSlotMover::EndStep(const std::filesystem::path& directory)
{
    return RemoveFile(directory / kJournalName);
}

FileOutcome ProfileSlotMover::Commit()
{
    m_replaced.clear();
    return Outcome(RemoveFile(m_directory / kJournalName), m_directory / kJournalName);
}

FileOutcome ProfileSlotMover::Move(std::span<const ProfileFileSource> sources, std::size_t storedCount,
                                   std::span<const AlongsideFile> alongside)
{
    m_replaced.clear();
    m_undoFailure = {};

    // Everything is read before anything is written, so that names that swap places, and copies
    // of a name that moves, take the files as they were.
    std::array<Slot, kProfileSlotCount> slots;
    for (std::size_t index = 0; index < kProfileSlotCount; ++index) {
        slots[index].config = ReadWhole(m_directory / ProfileConfigName(index));
        slots[index].labels = ReadWhole(m_directory / ProfileLabelName(index));
        if (slots[index].config.error) {
            return Outcome(slots[index].config.error, m_directory / ProfileConfigName(index));
        }
        if (slots[index].labels.error) {
            return Outcome(slots[index].labels.error, m_directory / ProfileLabelName(index));
        }
    }
    // Without a readable factory file a freed position keeps what it has.
    const FileRead factoryConfig = ReadWhole(m_directory / kFactoryConfigName);
    const FileRead factoryLabels = ReadWhole(m_directory / kListName);
    const std::optional<Wanted> factoryConfigWanted =
        factoryConfig.bytes ? std::optional<Wanted>(Wanted{factoryConfig.bytes, false}) : std::nullopt;
    const std::optional<Wanted> factoryLabelsWanted =
        factoryLabels.bytes ? std::optional<Wanted>(Wanted{factoryLabels.bytes, true}) : std::nullopt;
    if (factoryLabels.error) {
        return Outcome(factoryLabels.error, m_directory / kListName);
    }
    std::vector<FileRead> alongsideNow;
    for (const AlongsideFile& file : alongside) {
        alongsideNow.push_back(ReadWhole(m_directory / file.name));
        if (alongsideNow.back().error) {
            return Outcome(alongsideNow.back().error, m_directory / file.name);
        }
    }

    // The journal holds every file this step can change, the list included.
    std::string journal(kJournalHeader);
    for (std::size_t index = 0; index < kProfileSlotCount; ++index) {
        journal += JournalEntry(ProfileConfigName(index), slots[index].config.bytes);
        journal += JournalEntry(ProfileLabelName(index), slots[index].labels.bytes);
    }
    journal += JournalEntry(kListName, factoryLabels.bytes);
    for (std::size_t index = 0; index < alongside.size(); ++index) {
        journal += JournalEntry(alongside[index].name, alongsideNow[index].bytes);
    }
    journal += kJournalEnd;
    if (const std::error_code error = WriteFileAtomically(m_directory / kJournalName, journal)) {
        return Outcome(error, m_directory / kJournalName);
    }

    const auto replace = [this](const std::filesystem::path& path, const FileRead& now,
                                const std::optional<Wanted>& wanted) {
        if (!wanted || (!wanted->withoutList && wanted->bytes == now.bytes)) {
            return std::error_code();
        }
        if (const std::error_code error = PutBack(path, wanted->bytes)) {
            return error;
        }
        m_replaced.push_back({path, now.bytes});
        if (wanted->withoutList) {
            // The list belongs to "str.ini" alone; a label file that keeps a copy still works, so
            // a copy that could not be taken out fails nothing.
            [[maybe_unused]] const bool listRemoved = IniFile(path, m_codec).DeleteSection(kProfileSection);
        }
        return std::error_code();
    };

    for (std::size_t position = 0; position < kProfileSlotCount; ++position) {
        std::optional<Wanted> config;
        std::optional<Wanted> labels;
        if (position < sources.size()) {
            const ProfileFileSource source = sources[position];
            if (source && *source < kProfileSlotCount) {
                config = Wanted{slots[*source].config.bytes, false};
                labels = Wanted{slots[*source].labels.bytes, false};
            } else {
                config = factoryConfigWanted;
                labels = factoryLabelsWanted;
            }
        } else if (position < storedCount) {
            config = factoryConfigWanted;
            labels = factoryLabelsWanted;
        }
        std::filesystem::path file = m_directory / ProfileConfigName(position);
        std::error_code error = replace(file, slots[position].config, config);
        if (!error) {
            file = m_directory / ProfileLabelName(position);
            error = replace(file, slots[position].labels, labels);
        }
        if (error) {
            m_undoFailure = Undo();
            return Outcome(error, file);
        }
    }
    for (std::size_t index = 0; index < alongside.size(); ++index) {
        const std::error_code error =
            replace(m_directory / alongside[index].name, alongsideNow[index], Wanted{alongside[index].bytes, false});
        if (error) {
            m_undoFailure = Undo();
            return Outcome(error, m_directory / alongside[index].name);
        }
    }
    return {};
}

FileOutcome ProfileSlotMover::Undo()
{
    FileOutcome first;
    for (auto file = m_replaced.rbegin(); file != m_replaced.rend(); ++file) {
        const std::error_code error = PutBack(file->path, file->before);
        if (first.Done() && error) {
            first = Outcome(error, file->path);
        }
    }
    m_replaced.clear();
    // The journal goes only with a complete undo; otherwise the next start finishes it.
    return first.Done() ? Outcome(RemoveFile(m_directory / kJournalName), m_directory / kJournalName) : first;
}

} // namespace veldrane
