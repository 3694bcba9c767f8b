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

const QImage* SkinImageCache::Find(std::string_view skinRelativePath)
{
    std::string key(skinRelativePath);
    auto found = m_images.find(key);
    if (found == m_images.end()) {
        // The names start with "/" and use "/" inside, as the skins spell them on every system.
        const QString file = QString::fromStdString(m_directory.string()) + QString::fromStdString(key);
        QImageReader reader(file);
        found = m_images.emplace(std::move(key), Premultiplied(reader.read())).first;
    }
    return found->second.isNull() ? nullptr : &found->second;
}

std::optional<Size> SkinImageCache::ImageSize(std::string_view skinRelativePath)
{
    const QImage* image = Find(skinRelativePath);
    if (!image) {
        return std::nullopt;
    }
    return Size{image->width(), image->height()};
}

} // namespace veldrane
