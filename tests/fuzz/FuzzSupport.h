#pragma once

// What every fuzz target needs, the standard headers below included.

#include <signal.h>
#include <unistd.h>

#include <cerrno>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <span>
#include <string>
#include <string_view>

namespace veldrane::fuzz {

// A property that must hold for every input: a breach is a finding, reported as a crash.
inline void Require(bool holds, const char* what)
{
    if (!holds) {
        std::fprintf(stderr, "property broken: %s\n", what);
        std::abort();
    }
}

// The folder of this fuzzing process, on a memory file system where there is one; the files of
// one input are written there, and an InputFolder removes them when the input is done. libFuzzer
// ends a run without the process's exit handlers, and a finding ends it with a signal: the
// folders of fuzzing processes that are gone are removed when the next one starts.
inline const std::filesystem::path& Folder()
{
    static const std::filesystem::path folder = [] {
        constexpr std::string_view kPrefix = "veldrane-fuzz-";
        const std::filesystem::path base =
            std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : std::filesystem::temp_directory_path();
        std::error_code error;
        for (const auto& entry : std::filesystem::directory_iterator(base, error)) {
            const std::string name = entry.path().filename().string();
            if (!name.starts_with(kPrefix)) {
                continue;
            }
            const long pid = std::strtol(name.c_str() + kPrefix.size(), nullptr, 10);
            if (pid > 0 && ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH) {
                std::filesystem::remove_all(entry.path(), error);
            }
        }
        return base / (std::string(kPrefix) + std::to_string(getpid()));
    }();
    std::filesystem::create_directories(folder);
    return folder;
}

// For the length of one input: its files go when it is done.
struct InputFolder
{
    ~InputFolder()
    {
        std::error_code error;
        std::filesystem::remove_all(Folder(), error);
    }
};

inline void WriteBytes(const std::filesystem::path& path, std::string_view bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string ReadBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Takes the input apart: single choices from its front, the rest as bytes.
class InputReader
{
public:
    InputReader(const std::uint8_t* data, std::size_t size) : m_data(data, size) {}

    std::uint8_t Byte() { return Empty() ? 0 : static_cast<std::uint8_t>(Bytes(1).front()); }
    std::uint16_t Word() { return static_cast<std::uint16_t>(Byte() | (Byte() << 8)); }
    std::string_view Bytes(std::size_t count)
    {
        count = std::min(count, m_data.size());
        const std::string_view bytes(reinterpret_cast<const char*>(m_data.data()), count);
        m_data = m_data.subspan(count);
        return bytes;
    }
    std::string_view Rest() { return Bytes(m_data.size()); }
    bool Empty() const { return m_data.empty(); }

    // A text that a user could type: valid UTF-8 made of pieces that matter to the files'
    // structure (line breaks, brackets, '=', quotes, blanks) and of characters that not every
    // code page holds.
    std::string Text(std::size_t pieces)
    {
        static constexpr std::string_view kCharacters = "aZ0 =[];\r\n\"'\t";
        static constexpr std::string_view kWords[] = {"\xC3\xA9",     "\xE4\xB8\xAD", "\xE6\x96\x87",
                                                      "\xE2\x82\xAC", "Item1",        "Skins"};
        std::string text;
        for (std::size_t i = 0; i < pieces && !Empty(); ++i) {
            const std::size_t piece = Byte() % (kCharacters.size() + std::size(kWords));
            text += piece < kCharacters.size() ? kCharacters.substr(piece, 1) : kWords[piece - kCharacters.size()];
        }
        return text;
    }

private:
    std::span<const std::uint8_t> m_data;
};

} // namespace veldrane::fuzz
