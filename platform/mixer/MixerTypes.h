#pragma once

// Structures, flags and result codes of the mixer service. The layout follows the
// classic mixer model the program is written against: one destination line for
// recording ("wave input"), its source lines, a select control on the destination
// and a volume control on each source.

#include "platform/mmsystem/MmResult.h"

#include <cstdint>

struct MixerHandleTag;
using HMIXER = MixerHandleTag*;

// Result codes of the mixer.
inline constexpr MMRESULT MIXERR_INVALLINE = 1024;
inline constexpr MMRESULT MIXERR_INVALCONTROL = 1025;
inline constexpr MMRESULT MIXERR_INVALVALUE = 1026;

// Device identifiers and object kinds for mixerGetID.
inline constexpr std::uint32_t MIXER_OBJECTF_MIXER = 0x00000000u;
inline constexpr std::uint32_t MIXER_OBJECTF_WAVEIN = 0x20000000u;
inline constexpr std::uint32_t MIXER_OBJECTF_HANDLE = 0x80000000u;
inline constexpr std::uint32_t MIXER_OBJECTF_HWAVEIN = MIXER_OBJECTF_HANDLE | MIXER_OBJECTF_WAVEIN;

// Change messages; the last argument of the callback is the line or control identifier.
inline constexpr std::uint32_t MM_MIXM_LINE_CHANGE = 0x3D0;
inline constexpr std::uint32_t MM_MIXM_CONTROL_CHANGE = 0x3D1;

// Runs on a notification thread of the service, never on the caller's thread. It may call
// the mixer functions on the same handle, but must not close that handle.
using MixerCallback = void (*)(HMIXER mixer, std::uint32_t message, std::uintptr_t instance,
                               std::uint32_t lineOrControlId);

// Component types.
inline constexpr std::uint32_t MIXERLINE_COMPONENTTYPE_DST_WAVEIN = 0x0007;
inline constexpr std::uint32_t MIXERLINE_COMPONENTTYPE_SRC_UNDEFINED = 0x1000;
inline constexpr std::uint32_t MIXERLINE_COMPONENTTYPE_SRC_DIGITAL = 0x1001;
inline constexpr std::uint32_t MIXERLINE_COMPONENTTYPE_SRC_LINE = 0x1002;
inline constexpr std::uint32_t MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE = 0x1003;
inline constexpr std::uint32_t MIXERLINE_COMPONENTTYPE_SRC_SYNTHESIZER = 0x1004;
inline constexpr std::uint32_t MIXERLINE_COMPONENTTYPE_SRC_COMPACTDISC = 0x1005;
inline constexpr std::uint32_t MIXERLINE_COMPONENTTYPE_SRC_TELEPHONE = 0x1006;
inline constexpr std::uint32_t MIXERLINE_COMPONENTTYPE_SRC_PCSPEAKER = 0x1007;
inline constexpr std::uint32_t MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT = 0x1008;
inline constexpr std::uint32_t MIXERLINE_COMPONENTTYPE_SRC_AUXILIARY = 0x1009;
inline constexpr std::uint32_t MIXERLINE_COMPONENTTYPE_SRC_ANALOG = 0x100A;

// Line flags.
inline constexpr std::uint32_t MIXERLINE_LINEF_ACTIVE = 0x00000001u;
inline constexpr std::uint32_t MIXERLINE_LINEF_SOURCE = 0x80000000u;

// mixerGetLineInfo: which fields of MIXERLINE name the line asked for.
inline constexpr std::uint32_t MIXER_GETLINEINFOF_DESTINATION = 0;
inline constexpr std::uint32_t MIXER_GETLINEINFOF_SOURCE = 1;
inline constexpr std::uint32_t MIXER_GETLINEINFOF_LINEID = 2;
inline constexpr std::uint32_t MIXER_GETLINEINFOF_COMPONENTTYPE = 3;

// mixerGetLineControls.
inline constexpr std::uint32_t MIXER_GETLINECONTROLSF_ALL = 0;
inline constexpr std::uint32_t MIXER_GETLINECONTROLSF_ONEBYID = 1;
inline constexpr std::uint32_t MIXER_GETLINECONTROLSF_ONEBYTYPE = 2;

// mixerGetControlDetails / mixerSetControlDetails.
inline constexpr std::uint32_t MIXER_GETCONTROLDETAILSF_VALUE = 0;
inline constexpr std::uint32_t MIXER_GETCONTROLDETAILSF_LISTTEXT = 1;
inline constexpr std::uint32_t MIXER_SETCONTROLDETAILSF_VALUE = 0;

// Control types and their unit field.
inline constexpr std::uint32_t MIXERCONTROL_CONTROLTYPE_VOLUME = 0x50030001u;
inline constexpr std::uint32_t MIXERCONTROL_CONTROLTYPE_MUX = 0x71010001u;
inline constexpr std::uint32_t MIXERCONTROL_CONTROLTYPE_MIXER = 0x70010001u;
inline constexpr std::uint32_t MIXERCONTROL_CT_UNITS_MASK = 0x00FF0000u;
inline constexpr std::uint32_t MIXERCONTROL_CT_UNITS_BOOLEAN = 0x00010000u;
inline constexpr std::uint32_t MIXERCONTROL_CT_UNITS_UNSIGNED = 0x00030000u;

// Control flags.
inline constexpr std::uint32_t MIXERCONTROL_CONTROLF_UNIFORM = 0x00000001u;
inline constexpr std::uint32_t MIXERCONTROL_CONTROLF_MULTIPLE = 0x00000002u;
inline constexpr std::uint32_t MIXERCONTROL_CONTROLF_DISABLED = 0x80000000u;

inline constexpr int MIXER_SHORT_NAME_CHARS = 16;
inline constexpr int MIXER_LONG_NAME_CHARS = 64;

struct MIXERCAPS {
    char szPname[MAXPNAMELEN] = {};
    std::uint32_t fdwSupport = 0;
    std::uint32_t cDestinations = 0;
};

struct MIXERLINE {
    std::uint32_t cbStruct = sizeof(MIXERLINE);
    std::uint32_t dwDestination = 0;
    std::uint32_t dwSource = 0;
    std::uint32_t dwLineID = 0;
    std::uint32_t fdwLine = 0;
    std::uintptr_t dwUser = 0;
    std::uint32_t dwComponentType = 0;
    std::uint32_t cChannels = 0;
    std::uint32_t cConnections = 0;
    std::uint32_t cControls = 0;
    char szShortName[MIXER_SHORT_NAME_CHARS] = {};
    char szName[MIXER_LONG_NAME_CHARS] = {};
};

struct MIXERCONTROL {
    std::uint32_t cbStruct = sizeof(MIXERCONTROL);
    std::uint32_t dwControlID = 0;
    std::uint32_t dwControlType = 0;
    std::uint32_t fdwControl = 0;
    std::uint32_t cMultipleItems = 0;
    char szShortName[MIXER_SHORT_NAME_CHARS] = {};
    char szName[MIXER_LONG_NAME_CHARS] = {};
    struct {
        std::uint32_t dwMinimum = 0;
        std::uint32_t dwMaximum = 0;
    } Bounds;
    struct {
        std::uint32_t cSteps = 0;
    } Metrics;
};

struct MIXERLINECONTROLS {
    std::uint32_t cbStruct = sizeof(MIXERLINECONTROLS);
    std::uint32_t dwLineID = 0;
    // Asked for by MIXER_GETLINECONTROLSF_ONEBYID / _ONEBYTYPE respectively.
    std::uint32_t dwControlID = 0;
    std::uint32_t dwControlType = 0;
    std::uint32_t cControls = 0;
    std::uint32_t cbmxctrl = sizeof(MIXERCONTROL);
    MIXERCONTROL* pamxctrl = nullptr;
};

struct MIXERCONTROLDETAILS {
    std::uint32_t cbStruct = sizeof(MIXERCONTROLDETAILS);
    std::uint32_t dwControlID = 0;
    std::uint32_t cChannels = 0;
    std::uint32_t cMultipleItems = 0;
    std::uint32_t cbDetails = 0;
    void* paDetails = nullptr;
};

struct MIXERCONTROLDETAILS_BOOLEAN {
    std::int32_t fValue = 0;
};

struct MIXERCONTROLDETAILS_UNSIGNED {
    std::uint32_t dwValue = 0;
};

// 72 bytes: the item's line identifier, its component type and its name.
struct MIXERCONTROLDETAILS_LISTTEXT {
    std::uint32_t dwParam1 = 0;
    std::uint32_t dwParam2 = 0;
    char szName[MIXER_LONG_NAME_CHARS] = {};
};
static_assert(sizeof(MIXERCONTROLDETAILS_LISTTEXT) == 72);
