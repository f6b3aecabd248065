#include "res/gen/ArtBook.h"

#include "res/gen/BackgroundArt.h"
#include "res/gen/ButtonArt.h"
#include "res/gen/PictureArt.h"
#include "skin/SkinTable.h"

#include <array>

namespace artgen {

namespace {

struct SharedButton {
    unsigned id = 0;
    Glyph glyph = Glyph::Browse;
    ButtonState state = ButtonState::Normal;
};

constexpr std::array<SharedButton, 24> kSharedButtons = {{
    {152, Glyph::Browse, ButtonState::Normal},   {153, Glyph::Erase, ButtonState::Normal},
    {154, Glyph::Erase, ButtonState::Pressed},   {170, Glyph::Erase, ButtonState::Disabled},
    {155, Glyph::Save, ButtonState::Normal},     {156, Glyph::Save, ButtonState::Pressed},
    {173, Glyph::Save, ButtonState::Disabled},   {157, Glyph::Record, ButtonState::Normal},
    {158, Glyph::Record, ButtonState::Pressed},  {167, Glyph::Stop, ButtonState::Normal},
    {168, Glyph::Stop, ButtonState::Pressed},    {161, Glyph::Exit, ButtonState::Normal},
    {162, Glyph::Exit, ButtonState::Pressed},    {171, Glyph::Exit, ButtonState::Disabled},
    {141, Glyph::Previous, ButtonState::Normal}, {142, Glyph::Previous, ButtonState::Pressed},
    {139, Glyph::Play, ButtonState::Normal},     {140, Glyph::Play, ButtonState::Pressed},
    {137, Glyph::Pause, ButtonState::Normal},    {138, Glyph::Pause, ButtonState::Pressed},
    {143, Glyph::PlayStop, ButtonState::Normal}, {144, Glyph::PlayStop, ButtonState::Pressed},
    {135, Glyph::Next, ButtonState::Normal},     {136, Glyph::Next, ButtonState::Pressed},
}};

// The skin pictures: background, or one of the five skin buttons drawn on it.
QImage DrawSkinArt(const res::ArtEntry& entry) {
    for (const skin::SkinEntry& skin : skin::g_skinTable) {
        const SkinArt& art = SkinArts()[static_cast<std::size_t>(skin.index - 1)];
        const QSize size(entry.width, entry.height);
        struct Seat {
            unsigned id;
            int controlId;
            Glyph glyph;
        };
        const std::array<Seat, 5> seats = {{{skin.skinButton, 1044, Glyph::Skins},
                                            {skin.minButton, 1035, Glyph::Hotkeys},
                                            {skin.closeButton, 1036, Glyph::Close},
                                            {skin.helpButton, 1034, Glyph::Help},
                                            {skin.aboutButton, 1033, Glyph::About}}};
        if (entry.id == skin.background) {
            return DrawBackground(art);
        }
        for (const Seat& seat : seats) {
            if (entry.id == seat.id) {
                return DrawSkinButton(art, DrawBackground(art), seat.controlId, size, seat.glyph);
            }
        }
    }
    return {};
}

} // namespace

QImage DrawArt(const res::ArtEntry& entry) {
    const QSize size(entry.width, entry.height);
    switch (entry.kind) {
    case res::ArtKind::Icon:
        return entry.id == res::kProgramIcon ? DrawProgramIcon(entry.width)
                                             : DrawTrackIcon(entry.width);
    case res::ArtKind::Cursor:
        return DrawHandCursor(entry.width, res::kHandHotSpotX, res::kHandHotSpotY);
    case res::ArtKind::Bitmap:
        break;
    }
    switch (entry.id) {
    case res::kWindowShapeBitmap:
        return DrawWindowShape();
    case res::kSplashBitmap:
        return DrawSplash(size);
    case res::kAboutBitmap:
        return DrawAboutPicture(size);
    default:
        break;
    }
    for (const SharedButton& button : kSharedButtons) {
        if (button.id == entry.id) {
            return DrawSharedButton(button.glyph, size, button.state);
        }
    }
    return DrawSkinArt(entry);
}

} // namespace artgen
