// The picture taken elsewhere: saved as a PNG or copied to the clipboard.
#include "viewer_window.h"

#include "base/code_pages.h"
#include "base/file_writer.h"
#include "base/path_rules.h"
#include "png/picture_png.h"
#include "ui/clipboard.h"
#include "ui/dialogs.h"

#include <cerrno>
#include <cstring>

namespace kadromir {

void ViewerWindow::SavePictureAsPng() {
    // Named after the picture on screen: after a refused step the current file is
    // another one, whose picture was never shown.
    const std::string& shown = Navigator.ShownFile();
    if (PictureData == nullptr || shown.empty()) {
        return;
    }
    constexpr const char* Title = "Сохранить как PNG";
    const auto path =
        ui::AskSavePath(*Parts.Form, {Title, "PNG", "png", DirectoryPart(shown),
                                      NameWithoutExtension(FileNamePart(shown)) + ".png"});
    if (!path) {
        return;
    }
    // The PNG is made in full before the target is touched.
    const std::string png = EncodePicturePng(*PictureData);
    const int error = png.empty() ? ENOMEM : WriteFileReplacing(*path, png);
    if (error != 0) {
        ui::ShowMessage(*Parts.Form, Title, ReadableName(*path) + "\n" + std::strerror(error),
                        ui::MessageKind::Warning);
    }
}

void ViewerWindow::CopyPicture() {
    if (PictureData == nullptr || Navigator.ShownFile().empty()) {
        return;
    }
    ui::ClipboardPicture picture;
    picture.Width = FrameBitmap::Width;
    picture.Height = FrameBitmap::Height;
    for (int i = 0; i < FrameBitmap::PaletteSize; ++i) {
        picture.Palette.push_back(PictureData->Bitmap.PaletteEntry(i));
    }
    picture.Indices = PictureIndices(PictureData->Bitmap, FrameBitmap::Width);
    picture.Png = EncodePicturePng(*PictureData);
    ui::CopyToClipboard(picture);
}

} // namespace kadromir
