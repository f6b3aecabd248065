#pragma once
// Which backend a wave device runs on, parsed from its text form:
//   "alsa:NAME"   an ALSA PCM (a bare NAME that is no keyword means the same)
//   "file:PATH"   input: a WAV file played in real time, looping;
//                 output: a WAV file that receives what is played
//   "tone"        input only: the stereo test tone of ToneSource
//   "silence"     input only: zeros in real time
//   "marked"      input only: frames that carry their numbers (MarkedSource);
//                 "marked:SOUND,GAP" with silent gaps between them
//   "null"        output only: discards in real time

#include <optional>
#include <string>
#include <string_view>

namespace platform::wave {

enum class WaveDirection { Input, Output };

struct BackendChoice {
    enum class Kind { Alsa, File, Tone, Silence, Marked, Null };

    Kind kind = Kind::Alsa;
    std::string argument; // ALSA device name or file path

    // The text form, as accepted by parse.
    [[nodiscard]] std::string Text() const;
    [[nodiscard]] bool IsVirtual() const { return kind != Kind::Alsa; }

    // Empty for a keyword of the other direction or a prefix without a name.
    [[nodiscard]] static std::optional<BackendChoice> Parse(std::string_view text,
                                                            WaveDirection direction);
};

} // namespace platform::wave
