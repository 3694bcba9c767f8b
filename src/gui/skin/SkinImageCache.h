#pragma once

#include <QImage>

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "ports/SkinCanvas.h"

namespace veldrane {

// The skin's pictures, each loaded once from the skin directory and kept premultiplied for
// painting. A picture that is missing or does not decode is remembered as missing: painting it
// draws nothing, and it is not looked for again.
class SkinImageCache : public SkinImageSizes
{
public:
    explicit SkinImageCache(std::filesystem::path skinDirectory);

    // The picture at a path as the windows spell it ("/main.png"); null when it is missing.
    const QImage* Find(std::string_view skinRelativePath);
    std::optional<Size> ImageSize(std::string_view skinRelativePath) override;

    const std::filesystem::path& Directory() const { return m_directory; }

    // A decoded picture made ready for painting. With an alpha channel each of blue, green and
    // red becomes channel x alpha / 255 with integer division, alpha unchanged (the rule the
    // skins are drawn for); without one it is an opaque copy.
    static QImage Premultiplied(const QImage& decoded);

private:
    std::filesystem::path m_directory;
    QString FileOf(const std::string& skinRelativePath) const;

    std::unordered_map<std::string, QImage> m_images; // a null image: missing
    // Sizes read from the files' headers of pictures not decoded yet; nothing: missing.
    std::unordered_map<std::string, std::optional<Size>> m_sizes;
};

} // namespace veldrane
