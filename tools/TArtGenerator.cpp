#include "tools/TArtGenerator.h"

// jpeglib.h needs size_t and FILE declared before it.
#include <cstddef>
#include <cstdio>

#include <jpeglib.h>

#include <cstdlib>
#include <vector>

#include "platform/TStream.h"
#include "tools/TAppIconArt.h"
#include "tools/TArtCatalogue.h"
#include "tools/TContactSheet.h"
#include "tools/TContentCatalogue.h"
#include "tools/TIsoKit.h"
#include "tools/TPreviewScene.h"
#include "tools/TStartMap.h"
#include "tools/TTextRenderer.h"

namespace {

bool EndsWith(const std::string& text, const std::string& suffix) {
    return text.size() >= suffix.size() && text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

}  // namespace

bool TArtGenerator::MakeDirs(const std::string& path) {
    if (path.empty() || FileType(path) == FILETYPE_DIR) return true;
    const size_t slash = path.find_last_of('/');
    if (slash != std::string::npos && slash > 0 && !MakeDirs(path.substr(0, slash))) return false;
    return CreateDir(path) || FileType(path) == FILETYPE_DIR;
}

bool TArtGenerator::SavePixmapJPEG(const TPixmap& pixmap, const std::string& path, int quality) {
    if (pixmap.width <= 0 || pixmap.height <= 0) return false;
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(pixmap.width);
    info.image_height = static_cast<JDIMENSION>(pixmap.height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<unsigned char> row(static_cast<size_t>(pixmap.width) * 3);
    for (int32_t y = 0; y < pixmap.height; ++y) {
        const uint32_t* src = pixmap.Row(y);
        for (int32_t x = 0; x < pixmap.width; ++x) {
            row[x * 3 + 0] = static_cast<unsigned char>(src[x] >> 16);
            row[x * 3 + 1] = static_cast<unsigned char>(src[x] >> 8);
            row[x * 3 + 2] = static_cast<unsigned char>(src[x]);
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    bool ok = false;
    if (std::shared_ptr<TStream> out = TStream::WriteFile(path)) {
        ok = out->Write(buffer, size) && out->Close();
        if (!ok) out->Discard();
    }
    free(buffer);
    return ok;
}

bool TArtGenerator::InstallFont(const std::string& fontSource, const std::string& licenceSource,
                                const std::string& guiDir) {
    if (!MakeDirs(guiDir)) {
        Print("Cannot create folder: " + guiDir);
        return false;
    }
    const std::string fontTarget = guiDir + "/" + FontFile;
    if (!CopyFile(fontSource, fontTarget)) Print("Font not copied (install fonts-dejavu-core): " + fontSource);
    if (!CopyFile(licenceSource, guiDir + "/" + FontLicenceFile)) Print("Font licence not copied: " + licenceSource);
    return FileType(fontTarget) == FILETYPE_FILE;
}

bool TArtGenerator::WriteIcons(const std::string& iconDir) {
    bool ok = true;
    for (const int32_t size : TAppIconArt::sizes) {
        const std::string path = iconDir + "/" + TAppIconArt::FileOf(size);
        const std::shared_ptr<TPixmap> pixmap = TAppIconArt::Paint(size).ToPixmap();
        if (!MakeDirs(path.substr(0, path.find_last_of('/'))) || !pixmap || !SavePixmapPNG(*pixmap, path, 9)) {
            Print("Cannot write icon: " + path);
            ok = false;
        }
    }
    return ok;
}

bool TArtGenerator::WriteAll(const std::string& fontPath, const std::string& guiDir, const std::string& sheetPath) {
    if (!MakeDirs(guiDir)) {
        Print("Cannot create folder: " + guiDir);
        return false;
    }
    const TArtCatalogue catalogue(fontPath);
    bool ok = true;
    std::vector<TCanvas> painted;
    painted.reserve(catalogue.Pictures().size());
    for (const TArtPicture& picture : catalogue.Pictures()) {
        painted.push_back(picture.paint());
        std::shared_ptr<TPixmap> pixmap = painted.back().ToPixmap();
        const std::string path = guiDir + "/" + picture.fileName;
        const bool written = pixmap && (EndsWith(picture.fileName, ".jpg") ? SavePixmapJPEG(*pixmap, path, JpegQuality)
                                                                           : SavePixmapPNG(*pixmap, path, 9));
        if (!written) {
            Print("Cannot write picture: " + path);
            ok = false;
        }
    }
    if (!sheetPath.empty()) {
        std::vector<TContactSheet::TEntry> entries;
        for (size_t i = 0; i < painted.size(); ++i) entries.push_back({catalogue.Pictures()[i].fileName, &painted[i]});
        const TCanvas sheet =
            TContactSheet::Compose(entries, catalogue.Text(), "Vallmora interface art  (data/gfx/gui, tools/)");
        const size_t slash = sheetPath.find_last_of('/');
        std::shared_ptr<TPixmap> pixmap = sheet.ToPixmap();
        if (slash != std::string::npos) MakeDirs(sheetPath.substr(0, slash));
        if (!pixmap || !SavePixmapPNG(*pixmap, sheetPath, 9)) {
            Print("Cannot write contact sheet: " + sheetPath);
            ok = false;
        }
    }
    return ok;
}

namespace {
bool WriteBytes(const std::string& path, const std::string& bytes) {
    const size_t slash = path.find_last_of('/');
    if (slash != std::string::npos) TArtGenerator::MakeDirs(path.substr(0, slash));
    std::shared_ptr<TStream> out = TStream::WriteFile(path);
    if (!out) return false;
    if (!out->WriteString(bytes)) {
        out->Discard();
        return false;
    }
    return out->Close();
}
}  // namespace

bool TArtGenerator::WriteWorld(const std::string& contentDir, const std::string& dataDir, const std::string& fontPath,
                               const std::string& sheetPath) {
    const TContentCatalogue catalogue(contentDir);
    bool ok = true;
    for (const std::string& problem : catalogue.Problems()) {
        Print("Content source problem: " + problem);
        ok = false;
    }
    std::vector<TCanvas> painted;
    painted.reserve(catalogue.Pictures().size());
    for (const TArtPicture& picture : catalogue.Pictures()) {
        painted.push_back(picture.paint());
        const std::string path = dataDir + "/" + picture.fileName;
        MakeDirs(path.substr(0, path.find_last_of('/')));
        std::shared_ptr<TPixmap> pixmap = picture.keyed ? TIsoKit::Keyed(painted.back()) : painted.back().ToPixmap();
        const bool written =
            pixmap && (picture.keyed ? TIsoKit::SaveRGB(*pixmap, path) : SavePixmapPNG(*pixmap, path, 9));
        if (!written) {
            Print("Cannot write picture: " + path);
            ok = false;
        }
    }
    for (const auto& [name, bytes] : catalogue.PluginFiles()) {
        if (!WriteBytes(dataDir + "/" + name, bytes)) {
            Print("Cannot write plugin file: " + dataDir + "/" + name);
            ok = false;
        }
    }
    if (!WriteBytes(dataDir + "/names/name.dat", catalogue.NameList())) {
        Print("Cannot write name list");
        ok = false;
    }
    const std::string mapPath = dataDir + "/maps/128/001r.png";
    MakeDirs(dataDir + "/maps/128");
    std::shared_ptr<TPixmap> map = TStartMap::Paint();
    if (!map || !TIsoKit::SaveRGB(*map, mapPath)) {
        Print("Cannot write start map: " + mapPath);
        ok = false;
    }
    if (!sheetPath.empty()) {
        const TTextRenderer text(fontPath);
        std::vector<TCanvas> grids;
        grids.reserve(painted.size() + 1);
        std::vector<TContactSheet::TEntry> entries;
        for (size_t i = 0; i < painted.size(); ++i) {
            const TArtPicture& picture = catalogue.Pictures()[i];
            grids.push_back(TContactSheet::FrameGrid(painted[i], picture.frames, text));
            entries.push_back({picture.fileName, &grids.back()});
        }
        TCanvas mapView(TStartMap::Size * 2, TStartMap::Size * 2);
        if (map)
            mapView.CompositeScaled(TCanvas::FromPixmap(*map), 0, 0, TStartMap::Size * 2.0f, TStartMap::Size * 2.0f);
        entries.push_back({"maps/128/001r.png", &mapView});
        const TCanvas sheet = TContactSheet::Compose(entries, text, "Vallmora world art  (data/, tools/, content/)");
        // The preview scene goes beside the contact sheet.
        const TCanvas scene = TPreviewScene::Paint([&](const std::string& name) -> const TCanvas* {
            for (size_t i = 0; i < painted.size(); ++i)
                if (catalogue.Pictures()[i].fileName == name) return &painted[i];
            return nullptr;
        });
        const std::string scenePath = sheetPath.substr(0, sheetPath.find_last_of('/') + 1) + "preview_scene.png";
        std::shared_ptr<TPixmap> scenePixmap = scene.ToPixmap();
        if (!scenePixmap || !SavePixmapPNG(*scenePixmap, scenePath, 9)) {
            Print("Cannot write preview scene: " + scenePath);
            ok = false;
        }
        std::shared_ptr<TPixmap> pixmap = sheet.ToPixmap();
        MakeDirs(sheetPath.substr(0, sheetPath.find_last_of('/')));
        if (!pixmap || !SavePixmapPNG(*pixmap, sheetPath, 9)) {
            Print("Cannot write contact sheet: " + sheetPath);
            ok = false;
        }
    }
    return ok;
}
