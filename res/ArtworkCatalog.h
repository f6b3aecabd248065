#pragma once
// Every picture the program ships, by kind, resource number and size in
// pixels. The artwork generator draws exactly these; the program loads them
// with res::LoadBitmap / LoadIcon / LoadCursor.

#include <array>

namespace res {

enum class ArtKind { Bitmap, Icon, Cursor };

struct ArtEntry {
    ArtKind kind = ArtKind::Bitmap;
    unsigned id = 0;
    int width = 0;
    int height = 0;
};

// Picture sizes shared by the artwork and the windows that show them.
inline constexpr int kSkinButtonPx = 16;
inline constexpr int kPlayButtonPx = 16;
inline constexpr int kProgramIconPx = 48;
inline constexpr int kTrackIconPx = 16;
inline constexpr int kHandCursorPx = 32;
inline constexpr int kHandHotSpotX = 10;
inline constexpr int kHandHotSpotY = 3;

// Bitmap numbers named where they are used.
inline constexpr unsigned kWindowShapeBitmap = 176;
inline constexpr unsigned kSplashBitmap = 212;
inline constexpr unsigned kAboutBitmap = 146;
inline constexpr unsigned kProgramIcon = 128;
inline constexpr unsigned kTrackIcon = 129;
inline constexpr unsigned kHandCursor = 133;

inline constexpr int kArtCount = 54;
extern const std::array<ArtEntry, kArtCount> g_artCatalog;

} // namespace res
