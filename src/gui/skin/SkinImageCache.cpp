#include "gui/skin/SkinImageCache.h"

#include <QImageReader>
#include <QString>

namespace veldrane {

SkinImageCache::SkinImageCache(std::filesystem::path skinDirectory) : m_directory(std::move(skinDirectory)) {}

QImage SkinImageCache::Premultiplied(const QImage& decoded)
{
    if (decoded.isNull()) {
        return {};
    }
    if (!decoded.hasAlphaChannel()) {
        return decoded.convertToFormat(QImage::Format_RGB32);
    }
    const QImage straight = decoded.convertToFormat(QImage::Format_ARGB32);
    QImage result(straight.size(), QImage::Format_ARGB32_Premultiplied);
    result.setDevicePixelRatio(decoded.devicePixelRatio());
    for (int y = 0; y < straight.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(straight.constScanLine(y));
        auto* out = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < straight.width(); ++x) {
            const int alpha = qAlpha(in[x]);
            out[x] = qRgba(qRed(in[x]) * alpha / 255, qGreen(in[x]) * alpha / 255, qBlue(in[x]) * alpha / 255, alpha);
        }
    }
    return result;
}

std::string SkinImageCache::DoubleScalePath(std::string_view skinRelativePath)
{
    std::string path(skinRelativePath);
    const std::size_t slash = path.rfind('/');
    const std::size_t dot = path.rfind('.');
    path.insert(dot == std::string::npos || (slash != std::string::npos && dot < slash) ? path.size() : dot, "@2x");
    return path;
}

QString SkinImageCache::FileOf(const std::string& skinRelativePath) const
{
    // The names start with "/" and use "/" inside, as the skins spell them on every system.
    return QString::fromStdString(m_directory.string()) + QString::fromStdString(skinRelativePath);
}

const QImage& SkinImageCache::Decoded(const std::string& fileKey, qreal scale)
{
    auto found = m_images.find(fileKey);
    if (found == m_images.end()) {
        QImageReader reader(FileOf(fileKey));
        // Qt would take "@2x" in the name as the pixel ratio itself; the cache says it, so a
        // picture's ratio never depends on how a skin names its files.
        QImage decoded = reader.read();
        decoded.setDevicePixelRatio(scale);
        found = m_images.emplace(fileKey, Premultiplied(decoded)).first;
    }
    return found->second;
}

const QImage* SkinImageCache::Find(std::string_view skinRelativePath, qreal devicePixelRatio)
{
    if (devicePixelRatio > 1.0) {
        if (const QImage& doubled = Decoded(DoubleScalePath(skinRelativePath), 2.0); !doubled.isNull()) {
            return &doubled;
        }
    }
    const QImage& picture = Decoded(std::string(skinRelativePath), 1.0);
    return picture.isNull() ? nullptr : &picture;
}

std::vector<std::string> SkinImageCache::DecodedFiles() const
{
    std::vector<std::string> files;
    for (const auto& [file, image] : m_images) {
        if (!image.isNull()) {
            files.push_back(file);
        }
    }
    return files;
}

std::optional<Size> SkinImageCache::ImageSize(std::string_view skinRelativePath)
{
    std::string key(skinRelativePath);
    if (auto decoded = m_images.find(key); decoded != m_images.end()) {
        if (decoded->second.isNull()) {
            return std::nullopt;
        }
        return Size{decoded->second.width(), decoded->second.height()};
    }
    // Layout asks for the sizes of many pictures that are painted only later, or never: the
    // file's header tells the size without decoding the picture. At scale 2 the scale-1 file is
    // never decoded, so its header is all that is read of it.
    auto known = m_sizes.find(key);
    if (known == m_sizes.end()) {
        QImageReader reader(FileOf(key));
        const QSize size = reader.size();
        std::optional<Size> entry;
        if (size.isValid() && reader.canRead()) {
            entry = Size{size.width(), size.height()};
        }
        known = m_sizes.emplace(std::move(key), entry).first;
    }
    return known->second;
}

} // namespace veldrane
