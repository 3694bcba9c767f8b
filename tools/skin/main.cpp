// veldrane-skin OUTPUT_DIR [ICON_ROOT ICON_NAME]: draws every picture of the default skin into
// OUTPUT_DIR (the "Skins/Default" folder of the installed data) at scale 1 ("NAME.png") and at
// scale 2 for high-density screens ("NAME@2x.png", twice as wide and high) and lists the pictures
// with their scale-1 sizes in skin-manifest.txt; with ICON_ROOT, also the application's icon as
// ICON_ROOT/<size>x<size>/apps/ICON_NAME.png at every installed size.

#include "AppIcon.h"
#include "SkinCanvas.h"
#include "SkinTable.h"

#include <QBuffer>
#include <QSaveFile>
#include <QString>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>

namespace {

// Pictures and the manifest are written whole: a temporary file beside the target, renamed
// over it, so a broken build never leaves a half-written picture for the program to load.
bool WriteWhole(const std::filesystem::path& target, const QByteArray& bytes)
{
    QSaveFile file(QString::fromStdString(target.string()));
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}

// The "-over" look of a control: every colour brighter, the shape and transparency the same.
QImage Lit(QImage image)
{
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            auto lit = [](int channel) { return std::min(255, channel * 5 / 4 + 40); };
            line[x] = qRgba(lit(qRed(line[x])), lit(qGreen(line[x])), lit(qBlue(line[x])), qAlpha(line[x]));
        }
    }
    return image;
}

// "/main.png" at scale 2 is "/main@2x.png", the name Qt and the program look for on such screens.
std::string PathAtScale(const std::string& path, int scale)
{
    if (scale == 1) {
        return path;
    }
    const std::size_t dot = path.rfind('.');
    return path.substr(0, dot) + '@' + std::to_string(scale) + 'x' + path.substr(dot);
}

bool WritePicture(const std::filesystem::path& folder, const veldrane::SkinPicture& picture, int scale)
{
    veldrane::SkinCanvas canvas(picture.size, scale);
    picture.paint(canvas, picture.number);
    const QImage image = picture.over ? Lit(canvas.Finish()) : canvas.Finish();
    const std::filesystem::path target = folder / PathAtScale(picture.path, scale).substr(1);
    std::error_code error;
    std::filesystem::create_directories(target.parent_path(), error);
    QByteArray png;
    QBuffer buffer(&png);
    return !error && buffer.open(QIODevice::WriteOnly) && image.save(&buffer, "PNG") && WriteWhole(target, png);
}

bool WriteAppIcons(const std::filesystem::path& root, const std::string& name)
{
    for (const int size : veldrane::kAppIconSizes) {
        const std::string folder = std::to_string(size) + 'x' + std::to_string(size);
        const std::filesystem::path target = root / folder / "apps" / (name + ".png");
        std::error_code error;
        std::filesystem::create_directories(target.parent_path(), error);
        QByteArray png;
        QBuffer buffer(&png);
        if (error || !buffer.open(QIODevice::WriteOnly) || !veldrane::DrawAppIcon(size).save(&buffer, "PNG") ||
            !WriteWhole(target, png)) {
            std::fprintf(stderr, "veldrane-skin: cannot write %s\n", target.c_str());
            return false;
        }
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2 && argc != 4) {
        std::fprintf(stderr, "usage: veldrane-skin OUTPUT_DIR [ICON_ROOT ICON_NAME]\n");
        return 2;
    }
    if (argc == 4 && !WriteAppIcons(argv[2], argv[3])) {
        return 1;
    }
    const std::filesystem::path folder(argv[1]);
    std::string manifest;
    for (const veldrane::SkinPicture& picture : veldrane::ExpandSkinTable(veldrane::SkinTable())) {
        for (const int scale : {1, 2}) {
            if (!WritePicture(folder, picture, scale)) {
                std::fprintf(stderr, "veldrane-skin: cannot write %s into %s\n",
                             PathAtScale(picture.path, scale).c_str(), argv[1]);
                return 1;
            }
        }
        manifest += picture.path + ' ' + std::to_string(picture.size.width()) + ' ' +
                    std::to_string(picture.size.height()) + '\n';
    }
    if (!WriteWhole(folder / "skin-manifest.txt", QByteArray::fromStdString(manifest))) {
        std::fprintf(stderr, "veldrane-skin: cannot write skin-manifest.txt into %s\n", argv[1]);
        return 1;
    }
    return 0;
}
