// travoli-asset-builder: draws the game's sheets, synthesises its sounds, renders its
// pictures and packs the item records, all from the committed sources.
//   travoli-asset-builder media OUTDIR
//   travoli-asset-builder pictures SVGDIR OUTDIR CONTACT_PNG name:WxH...
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <cstdio>
#include <exception>
#include <stdexcept>
#include <string>
#include <vector>

#include "game/board_geometry.h"
#include "tools/asset_builder/background_sheet.h"
#include "tools/asset_builder/pictures.h"
#include "tools/asset_builder/records.h"
#include "tools/asset_builder/sounds.h"
#include "tools/asset_builder/tile_sheet.h"

namespace {

using travoli::assets::IndexedImage;

void WriteFile(const QString& path, const void* data, std::size_t size) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(static_cast<const char*>(data), static_cast<qint64>(size)) !=
            static_cast<qint64>(size)) {
        throw std::runtime_error("cannot write " + path.toStdString());
    }
}

void WriteFile(const QString& path, const std::vector<std::uint8_t>& bytes) {
    WriteFile(path, bytes.data(), bytes.size());
}

void SavePng(const QImage& image, const QString& path) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (!image.save(path, "PNG")) {
        throw std::runtime_error("cannot write " + path.toStdString());
    }
}

// Six boards, one per background, each with crosses in a scrambled position.
QImage BoardPreview(const QImage& tiles, const QImage& backgrounds) {
    using namespace travoli;
    // Column by column, as the board stores its cells.
    const int kinds[3][3] = {{5, 4, 0}, {2, 6, 3}, {5, 1, 0}};
    QImage out(3 * BoardSurface + 4, 2 * BoardSurface + 2, QImage::Format_RGB32);
    out.fill(Qt::black);
    QPainter p(&out);
    for (int back = 0; back < TextureCount; ++back) {
        const QPoint origin((back % 3) * (BoardSurface + 2), (back / 3) * (BoardSurface + 2));
        p.setClipRect(QRect(origin, QSize(BoardSurface, BoardSurface)));
        for (int x = 0; x < BoardSurface; x += TextureSize) {
            for (int y = 0; y < BoardSurface; y += TextureSize) {
                p.drawImage(origin + QPoint(x, y), backgrounds,
                            QRect(TextureSize * back, 0, TextureSize, TextureSize));
            }
        }
        for (int c = 0; c < 3; ++c) {
            for (int r = 0; r < 3; ++r) {
                const int kind = kinds[(c + back) % 3][r];
                p.drawImage(origin + QPoint(BoardLeft + CellWidth * c, BoardTop + CellHeight * r),
                            tiles, QRect(CellWidth * kind, CellHeight * r, CellWidth, CellHeight));
            }
        }
    }
    return out;
}

int BuildMedia(const QString& outDir) {
    using namespace travoli::assets;
    const IndexedImage tiles = DrawTileSheet();
    const IndexedImage backgrounds = DrawBackgroundSheet();
    const auto payload = [&](travoli::EmbeddedRecord id) {
        switch (id) {
            case travoli::EmbeddedRecord::TileSheet:
                return EncodeBmp(tiles);
            case travoli::EmbeddedRecord::BackgroundSheet:
                return EncodeBmp(backgrounds);
            case travoli::EmbeddedRecord::SolvedSound:
                return SolvedSound();
            case travoli::EmbeddedRecord::MoveSound:
                return MoveSound();
            case travoli::EmbeddedRecord::RefusedSound:
                return RefusedSound();
        }
        throw std::logic_error("no drawing or synthesis for a record");
    };

    std::vector<BuiltRecord> records;
    for (const travoli::EmbeddedRecordEntry& entry : travoli::EmbeddedRecords) {
        const std::vector<std::uint8_t> file = payload(entry.id);
        const QString stem = outDir + "/" + entry.file;
        WriteFile(stem + (entry.sound ? ".wav" : ".bmp"), file);
        records.push_back(BuildRecord(entry, file));
        WriteFile(outDir + "/records/" + entry.file + ".rec", records.back().bytes);
    }
    const std::string source = EmbeddedRecordsSource(records);
    WriteFile(outDir + "/embedded_records.cpp", source.data(), source.size());

    const QImage tileImage = ToQImage(tiles);
    const QImage backgroundImage = ToQImage(backgrounds);
    SavePng(tileImage.scaled(tileImage.size() * 2), outDir + "/preview/tile_sheet.png");
    SavePng(backgroundImage, outDir + "/preview/background_sheet.png");
    SavePng(BoardPreview(tileImage, backgroundImage), outDir + "/preview/boards.png");
    // The same sheets at double resolution, for screens with a device pixel ratio above 1.
    SavePng(ToQImage(DrawTileSheet(2)), outDir + "/tile_sheet@2x.png");
    SavePng(ToQImage(DrawBackgroundSheet(2)), outDir + "/background_sheet@2x.png");
    return 0;
}

int BuildPictures(const QString& svgDir, const QString& outDir, const QString& contactPath,
                  const QStringList& pictures) {
    using namespace travoli::assets;
    std::vector<QImage> contact;
    for (const QString& text : pictures) {
        const PictureSpec picture = ParsePictureSpec(text);
        const QString svg = svgDir + "/" + picture.name + ".svg";
        const QImage normal = RenderSvg(svg, picture.width, picture.height);
        SavePng(normal, outDir + "/" + picture.name + ".png");
        SavePng(RenderSvg(svg, 2 * picture.width, 2 * picture.height),
                outDir + "/" + picture.name + "@2x.png");
        contact.push_back(normal);
        if (picture.name == "icon") {
            for (int size : {TRAVOLI_ICON_SIZES}) {
                SavePng(RenderSvg(svg, size, size),
                        outDir + "/icon-" + QString::number(size) + ".png");
            }
        }
    }
    // Contact sheet: each picture at 1x on light and dark grey, then at 4x.
    int width = 8, height = 0;
    for (const QImage& image : contact) {
        width += image.width() * 6 + 16;
        height = std::max(height, image.height() * 4);
    }
    QImage sheet(width, 2 * height + 24, QImage::Format_RGB32);
    sheet.fill(QColor(212, 208, 200));
    QPainter p(&sheet);
    p.fillRect(0, height + 12, width, height + 12, QColor(64, 64, 64));
    int x = 8;
    for (const QImage& image : contact) {
        p.drawImage(x, 4, image);
        p.drawImage(x, height + 16, image);
        p.drawImage(QRect(x + image.width() + 4, 4, image.width() * 4, image.height() * 4), image);
        p.drawImage(
            QRect(x + image.width() + 4, height + 16, image.width() * 4, image.height() * 4),
            image);
        x += image.width() * 6 + 16;
    }
    p.end();
    SavePng(sheet, contactPath);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    try {
        if (args.size() == 2 && args[0] == "media") {
            return BuildMedia(args[1]);
        }
        if (args.size() >= 4 && args[0] == "pictures") {
            return BuildPictures(args[1], args[2], args[3], args.mid(4));
        }
        std::fprintf(
            stderr,
            "usage: travoli-asset-builder media OUTDIR\n"
            "       travoli-asset-builder pictures SVGDIR OUTDIR CONTACT_PNG name:WxH...\n");
        return 2;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "travoli-asset-builder: %s\n", error.what());
        return 1;
    }
}
