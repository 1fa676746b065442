// The texts of the error numbers, for mciGetErrorString.
#include <algorithm>
#include <cstring>

#include "win/mci.h"

namespace {

struct ErrorText {
  MCIERROR number;
  const char* text;
};

constexpr ErrorText kTexts[] = {
    {MCIERR_INVALID_DEVICE_ID, "The device is not open or is not known."},
    {MCIERR_UNRECOGNIZED_KEYWORD, "The command holds a word that this device does not know."},
    {MCIERR_UNRECOGNIZED_COMMAND, "The command is not known."},
    {MCIERR_HARDWARE, "The media device failed."},
    {MCIERR_INVALID_DEVICE_NAME, "No device of this name is installed."},
    {MCIERR_OUT_OF_MEMORY, "There is not enough memory for this command."},
    {MCIERR_DEVICE_OPEN, "The name is already in use by an open device."},
    {MCIERR_CANNOT_LOAD_DRIVER, "The device could not be started."},
    {MCIERR_MISSING_COMMAND_STRING, "The command string is empty."},
    {MCIERR_PARAM_OVERFLOW, "The reply does not fit in the buffer given."},
    {MCIERR_MISSING_STRING_ARGUMENT, "The command needs a text after the last word."},
    {MCIERR_BAD_INTEGER, "A number of the command is not a number or is out of range."},
    {MCIERR_MISSING_PARAMETER, "The command needs a further word."},
    {MCIERR_UNSUPPORTED_FUNCTION, "The device cannot do this."},
    {MCIERR_FILE_NOT_FOUND, "The file was not found."},
    {MCIERR_DEVICE_NOT_READY, "The device is not ready."},
    {MCIERR_INTERNAL, "The media layer met a fault of its own."},
    {MCIERR_OUTOFRANGE, "The position is beyond the medium."},
    {MCIERR_FLAGS_NOT_COMPATIBLE, "Two words of the command exclude each other."},
    {MCIERR_DEVICE_TYPE_REQUIRED, "The device type of the file cannot be told; give it with \"type\"."},
    {MCIERR_DUPLICATE_ALIAS, "The alias is in use by another open device."},
    {MCIERR_BAD_CONSTANT, "A word of the command is not one of the values it may take."},
    {MCIERR_MISSING_DEVICE_NAME, "The command names no device."},
    {MCIERR_BAD_TIME_FORMAT, "The device does not know this time format."},
    {MCIERR_NO_CLOSING_QUOTE, "A quoted text has no closing quote."},
    {MCIERR_DUPLICATE_FLAGS, "A word of the command is given twice."},
    {MCIERR_INVALID_FILE, "The file cannot be played by this device."},
    {MCIERR_NO_ELEMENT_ALLOWED, "This device takes no file name."},
    {MCIERR_NONAPPLICABLE_FUNCTION, "The command does not apply in the device's current state."},
    {MCIERR_FILENAME_REQUIRED, "The command needs a file name."},
    {MCIERR_EXTRA_CHARACTERS, "The command has words after its end."},
    {MCIERR_DEVICE_NOT_INSTALLED, "The device is not installed."},
    {MCIERR_NO_WINDOW, "The device has no window to show its pictures in."},
};

}  // namespace

BOOL mciGetErrorStringA(MCIERROR error, LPSTR text, UINT length) {
  const char* found = nullptr;
  for (const ErrorText& e : kTexts)
    if (e.number == error) found = e.text;
  if (text && length > 0) {
    const std::size_t n = found ? std::min<std::size_t>(std::strlen(found), length - 1) : 0;
    if (n) std::memcpy(text, found, n);
    text[n] = '\0';
  }
  return found ? TRUE : FALSE;
}
