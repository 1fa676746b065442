// The media control interface: sound and video played through command
// strings ("open", "play", "status" ...), on FFmpeg's decoders, FluidSynth
// for MIDI, and ALSA (or a sink that keeps time without sound) for output.
//
// Devices: "avivideo" (video files with their sound), "waveaudio" (sound
// files) and "sequencer" (standard MIDI files; listed only when FluidSynth
// and its General MIDI sound font are there).
//
// Grammar of a command string: words separated by blanks, keywords in any
// letter case. The first word is the command, the second the device: an
// alias, the name a device was opened by, or a device type; "all" for
// "close", "stop" and "sysinfo". A word in double quotes may hold blanks.
// "open" takes its file name quoted or bare; a bare name runs up to the
// first of its keywords (" type ", " alias ", " shareable ", " wait ",
// " notify ", " style ", " parent "), so a file name with blanks opens either
// way. "open type!file" names the device type in front of the file.
//
// Commands and their words (every one also takes "wait" and "notify"):
//   sysinfo all quantity | sysinfo all name N
//   capability DEV uses files | has video | has audio | can play | can record
//     | can eject | can save | compound device | device type
//   open FILE [type TYPE] [alias NAME] [shareable]
//   close DEV | close all
//   play DEV [from N] [to N]      (in the device's time format)
//   stop DEV | pause DEV | resume DEV
//   seek DEV to N | to start | to end
//   status DEV position | length | mode | time format | ready | media present
//     | frame rate | number of tracks
//   set DEV time format milliseconds | ms | frames
//   set DEV audio all on | off
//   window DEV handle N | handle default       (N: the window's handle)
//   put DEV destination [at X Y W H]
//   where DEV source | destination
// "status ... mode" answers "playing", "paused" or "stopped"; positions and
// lengths are decimal numbers; Booleans "true" or "false".
//
// Time: a playing device's position comes from USER's clock (the one that
// times WM_TIMER, win::SetUserClock), so a test that moves that clock moves
// the media. Decoding, mixing and drawing of frames advance from the message
// loop (a system timer while anything plays) and before every command; no
// thread is started. "play ... wait" returns when the clock reaches the end.
//
// "notify" with a callback window: MM_MCINOTIFY is posted to the window when
// the command is done (wParam MCI_NOTIFY_SUCCESSFUL; for a play that another
// command cut short MCI_NOTIFY_ABORTED, or MCI_NOTIFY_SUPERSEDED when a new
// notifying play replaced it), lParam the device id.
//
// Environment: ZEMRA_MCI_AUDIO chooses the audio output: "null" (time is
// kept, nothing sounds), "wav:PATH" (the mixed sound, 44100 Hz 16-bit
// stereo, appended to a WAV file while anything sounds), "alsa". Without it
// a headless program (ZEMRA_HEADLESS=1) uses "null" and any other ALSA when
// a device opens, else "null". ZEMRA_MCI_FRAMES=DIR writes every video frame
// shown as DIR/DDDD-FFFFFF.png (device id, frame number).
#pragma once

#include "win/types.h"

typedef DWORD MCIERROR;
typedef UINT MCIDEVICEID;

#define MM_MCINOTIFY 0x03B9
#define MCI_NOTIFY_SUCCESSFUL 0x0001
#define MCI_NOTIFY_SUPERSEDED 0x0002
#define MCI_NOTIFY_ABORTED 0x0004
#define MCI_NOTIFY_FAILURE 0x0008

// Error numbers of the command interface.
#define MCIERR_BASE 256
#define MCIERR_INVALID_DEVICE_ID (MCIERR_BASE + 1)
#define MCIERR_UNRECOGNIZED_KEYWORD (MCIERR_BASE + 3)
#define MCIERR_UNRECOGNIZED_COMMAND (MCIERR_BASE + 5)
#define MCIERR_HARDWARE (MCIERR_BASE + 6)
#define MCIERR_INVALID_DEVICE_NAME (MCIERR_BASE + 7)
#define MCIERR_OUT_OF_MEMORY (MCIERR_BASE + 8)
#define MCIERR_DEVICE_OPEN (MCIERR_BASE + 9)
#define MCIERR_CANNOT_LOAD_DRIVER (MCIERR_BASE + 10)
#define MCIERR_MISSING_COMMAND_STRING (MCIERR_BASE + 11)
#define MCIERR_PARAM_OVERFLOW (MCIERR_BASE + 12)
#define MCIERR_MISSING_STRING_ARGUMENT (MCIERR_BASE + 13)
#define MCIERR_BAD_INTEGER (MCIERR_BASE + 14)
#define MCIERR_MISSING_PARAMETER (MCIERR_BASE + 17)
#define MCIERR_UNSUPPORTED_FUNCTION (MCIERR_BASE + 18)
#define MCIERR_FILE_NOT_FOUND (MCIERR_BASE + 19)
#define MCIERR_DEVICE_NOT_READY (MCIERR_BASE + 20)
#define MCIERR_INTERNAL (MCIERR_BASE + 21)
#define MCIERR_OUTOFRANGE (MCIERR_BASE + 26)
#define MCIERR_FLAGS_NOT_COMPATIBLE (MCIERR_BASE + 28)
#define MCIERR_DEVICE_TYPE_REQUIRED (MCIERR_BASE + 31)
#define MCIERR_DUPLICATE_ALIAS (MCIERR_BASE + 33)
#define MCIERR_BAD_CONSTANT (MCIERR_BASE + 34)
#define MCIERR_MISSING_DEVICE_NAME (MCIERR_BASE + 36)
#define MCIERR_BAD_TIME_FORMAT (MCIERR_BASE + 37)
#define MCIERR_NO_CLOSING_QUOTE (MCIERR_BASE + 38)
#define MCIERR_DUPLICATE_FLAGS (MCIERR_BASE + 39)
#define MCIERR_INVALID_FILE (MCIERR_BASE + 40)
#define MCIERR_NO_ELEMENT_ALLOWED (MCIERR_BASE + 45)
#define MCIERR_NONAPPLICABLE_FUNCTION (MCIERR_BASE + 46)
#define MCIERR_FILENAME_REQUIRED (MCIERR_BASE + 48)
#define MCIERR_EXTRA_CHARACTERS (MCIERR_BASE + 49)
#define MCIERR_DEVICE_NOT_INSTALLED (MCIERR_BASE + 50)
#define MCIERR_NO_WINDOW (MCIERR_BASE + 90)

// Runs one command string. The reply (when `reply` is not null) is cut to
// `replyLength` - 1 bytes and ended by a NUL; a reply that does not fit gives
// MCIERR_PARAM_OVERFLOW. 0 on success, else an MCIERR_ number.
MCIERROR mciSendStringA(LPCSTR command, LPSTR reply, UINT replyLength, HWND callback);
#define mciSendString mciSendStringA

// The text of an error number, cut to `length` - 1 bytes; FALSE (and "") for
// a number that is no error of this interface.
BOOL mciGetErrorStringA(MCIERROR error, LPSTR text, UINT length);
#define mciGetErrorString mciGetErrorStringA

// The id of an open device by its alias or name; 0 when none.
MCIDEVICEID mciGetDeviceIDA(LPCSTR name);
#define mciGetDeviceID mciGetDeviceIDA

namespace win::mci {

// Closes every device without notifying anyone and drops the audio output,
// which the next sound chooses again from the environment: a fresh media
// state for the next test (run it before win::ResetUserState, whose window
// handles open devices may still name).
void ResetMedia();

}  // namespace win::mci
