#pragma once

#include <QImage>

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "ports/SkinCanvas.h"

namespace veldrane {

// The skin's pictures, each loaded once from the skin directory and kept premultiplied for
// painting. A picture that is missing or does not decode is remembered as missing: painting it
// draws nothing, and it is not looked for again.
//
// A skin may carry each picture twice: "NAME.png" and, for high-density screens, "NAME@2x.png"
// at twice the width and height. A screen whose pixel ratio is above 1 gets the 2x picture (its
// own pixel ratio set to 2, so it paints at the size of the scale-1 one) where the skin has it,
// and the scale-1 picture otherwise. Only the file of the scale asked for is decoded, when it is
// first drawn.
class SkinImageCache : public SkinImageSizes
{
public:
    explicit SkinImageCache(std::filesystem::path skinDirectory);

    // The picture at a path as the windows spell it ("/main.png") for a screen of this pixel
    // ratio; null when it is missing.
    const QImage* Find(std::string_view skinRelativePath, qreal devicePixelRatio);
    // The same for the ratio given to SetDevicePixelRatio (that of the primary screen).
    const QImage* Find(std::string_view skinRelativePath) { return Find(skinRelativePath, m_devicePixelRatio); }
    // The size in the windows' units (that of the scale-1 picture), whichever scale is drawn.
    std::optional<Size> ImageSize(std::string_view skinRelativePath) override;

    void SetDevicePixelRatio(qreal ratio) { m_devicePixelRatio = ratio; }
    const std::filesystem::path& Directory() const { return m_directory; }
    // The files decoded so far ("/main@2x.png"), those that were missing left out.
    std::vector<std::string> DecodedFiles() const;

    // A decoded picture made ready for painting. With an alpha channel each of blue, green and
    // red becomes channel x alpha / 255 with integer division, alpha unchanged (the rule the
    // skins are drawn for); without one it is an opaque copy. The pixel ratio is kept.
    static QImage Premultiplied(const QImage& decoded);
    // "/main.png" as its 2x file, "/main@2x.png".
    static std::string DoubleScalePath(std::string_view skinRelativePath);

private:
    std::filesystem::path m_directory;
    qreal m_devicePixelRatio = 1.0;
    QString FileOf(const std::string& skinRelativePath) const;
    const QImage& Decoded(const std::string& fileKey, qreal scale);

    std::unordered_map<std::string, QImage> m_images; // by file; a null image: missing
    // Sizes read from the files' headers of pictures not decoded yet; nothing: missing.
    std::unordered_map<std::string, std::optional<Size>> m_sizes;
};

} // namespace veldrane
