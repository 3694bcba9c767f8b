#include "adapters/linux/IconvTextCodec.h"

#include <array>
#include <cerrno>
#include <iconv.h>

namespace veldrane {

namespace {

// Each page under the names iconv implementations know it by, the Windows variant first.
std::array<const char*, 2> IconvNames(LegacyCodePage page)
{
    switch (page) {
    case LegacyCodePage::Gbk:
        return {"CP936", "GBK"};
    case LegacyCodePage::Big5:
        return {"CP950", "BIG5"};
    case LegacyCodePage::Windows1252:
        break;
    }
    return {"CP1252", "WINDOWS-1252"};
}

const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);

// Owns one conversion descriptor for the length of one conversion.
class Converter
{
public:
    Converter(const char* to, const char* from) : m_descriptor(iconv_open(to, from)) {}
    ~Converter()
    {
        if (m_descriptor != kNoConverter) {
            iconv_close(m_descriptor);
        }
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool IsOpen() const { return m_descriptor != kNoConverter; }

    std::optional<std::string> Convert(std::string_view input)
    {
        std::string output;
        char* in = const_cast<char*>(input.data()); // iconv's signature; the input is not written
        std::size_t inLeft = input.size();
        char buffer[1024];
        for (;;) {
            char* out = buffer;
            std::size_t outLeft = sizeof buffer;
            // A null input flushes a stateful encoding's shift state once everything is in.
            const std::size_t result = inLeft > 0 ? iconv(m_descriptor, &in, &inLeft, &out, &outLeft)
                                                  : iconv(m_descriptor, nullptr, nullptr, &out, &outLeft);
            output.append(buffer, static_cast<std::size_t>(out - buffer));
            if (result != static_cast<std::size_t>(-1)) {
                // Some iconv implementations substitute a character they cannot convert and
                // only count it; a substitute would change the text, so it is a failure too.
                if (result > 0) {
                    return std::nullopt;
                }
                if (inLeft == 0 && out == buffer) {
                    return output;
                }
                continue;
            }
            if (errno != E2BIG) {
                return std::nullopt; // EILSEQ (undefined or unrepresentable) or EINVAL (cut off)
            }
        }
    }

private:
    iconv_t m_descriptor;
};

enum class Direction
{
    ToUtf8,
    FromUtf8,
};

std::optional<std::string> ConvertWithPage(std::string_view input, LegacyCodePage page, Direction direction)
{
    for (const char* name : IconvNames(page)) {
        Converter converter(direction == Direction::ToUtf8 ? "UTF-8" : name,
                            direction == Direction::ToUtf8 ? name : "UTF-8");
        if (converter.IsOpen()) {
            return converter.Convert(input);
        }
    }
    return std::nullopt; // no name of the page is known to this iconv
}

} // namespace

std::optional<std::string> IconvTextCodec::ToUtf8(std::string_view bytes, LegacyCodePage from) const
{
    return ConvertWithPage(bytes, from, Direction::ToUtf8);
}

std::optional<std::string> IconvTextCodec::FromUtf8(std::string_view utf8, LegacyCodePage to) const
{
    return ConvertWithPage(utf8, to, Direction::FromUtf8);
}

} // namespace veldrane
