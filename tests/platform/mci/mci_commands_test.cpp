// The command strings without a medium: their grammar, the device list,
// the capability answers, the error numbers and their texts.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/mci/support/media_fixture.h"

namespace mci_test {
namespace {

using MciCommands = MediaTest;

struct CommandCase {
  const char* command;
  MCIERROR error;
  const char* reply;  // checked when the command succeeds
};

TEST_F(MciCommands, RepliesAndErrorsOfCommandsWithoutAMedium) {
  const CommandCase cases[] = {
      {"sysinfo all quantity", 0, "3"},
      {"SYSINFO ALL QUANTITY WAIT", 0, "3"},
      {"sysinfo all name 1", 0, "avivideo"},
      {"sysinfo all name 2 wait", 0, "waveaudio"},
      {"sysinfo all name 3", 0, "sequencer"},
      {"sysinfo all name 4", MCIERR_OUTOFRANGE, ""},
      {"sysinfo all name 0", MCIERR_OUTOFRANGE, ""},
      {"sysinfo all name x", MCIERR_BAD_INTEGER, ""},
      {"sysinfo all quantity open", 0, "0"},
      {"sysinfo waveaudio quantity", 0, "1"},
      {"capability waveaudio uses files", 0, "true"},
      {"capability AVIVideo has video", 0, "true"},
      {"capability waveaudio has video", 0, "false"},
      {"capability sequencer has video", 0, "false"},
      {"capability sequencer has audio", 0, "true"},
      {"capability avivideo has audio", 0, "true"},
      {"capability avivideo device type", 0, "digitalvideo"},
      {"capability waveaudio can record", 0, "false"},
      {"capability cdaudio uses files", MCIERR_INVALID_DEVICE_NAME, ""},
      {"capability waveaudio", MCIERR_MISSING_PARAMETER, ""},
      {"capability waveaudio tastes sweet", MCIERR_UNRECOGNIZED_KEYWORD, ""},
      {"", MCIERR_MISSING_COMMAND_STRING, ""},
      {"   ", MCIERR_MISSING_COMMAND_STRING, ""},
      {"frobnicate waveaudio", MCIERR_UNRECOGNIZED_COMMAND, ""},
      {"play", MCIERR_MISSING_DEVICE_NAME, ""},
      {"status nothing mode", MCIERR_INVALID_DEVICE_NAME, ""},
      {"close nothing wait", MCIERR_INVALID_DEVICE_NAME, ""},
      {"close all", 0, ""},
      {"open \"no closing quote.wav type waveaudio", MCIERR_NO_CLOSING_QUOTE, ""},
      {"open /nowhere/at/all.wav type waveaudio alias a wait", MCIERR_FILE_NOT_FOUND, ""},
      {"open /nowhere/at/all.xyz alias a", MCIERR_DEVICE_TYPE_REQUIRED, ""},
      {"open /nowhere/a.wav type cdaudio", MCIERR_INVALID_DEVICE_NAME, ""},
      {"open waveaudio", MCIERR_FILENAME_REQUIRED, ""},
      {"open type waveaudio", MCIERR_MISSING_DEVICE_NAME, ""},
  };
  for (const CommandCase& c : cases) {
    const std::string reply = Send(c.command, c.error);
    if (c.error == 0) EXPECT_EQ(reply, c.reply) << c.command;
    else EXPECT_EQ(reply, "") << c.command;
  }
}

TEST_F(MciCommands, AReplyThatDoesNotFitIsAnErrorNotACutAnswer) {
  char reply[4] = "xyz";
  EXPECT_EQ(mciSendString("sysinfo all name 2", reply, sizeof reply, nullptr), MCIERR_PARAM_OVERFLOW);
  EXPECT_STREQ(reply, "");
  char fits[10];
  EXPECT_EQ(mciSendString("sysinfo all name 2", fits, sizeof fits, nullptr), 0u);
  EXPECT_STREQ(fits, "waveaudio");
  EXPECT_EQ(mciSendString("sysinfo all name 2", nullptr, 0, nullptr), 0u);
}

TEST_F(MciCommands, EveryErrorHasATextAndOtherNumbersNone) {
  for (MCIERROR e = MCIERR_BASE; e <= MCIERR_BASE + 100; ++e) {
    char text[128] = "x";
    if (mciGetErrorString(e, text, sizeof text)) {
      EXPECT_GT(std::strlen(text), 10u) << e;
    } else {
      EXPECT_STREQ(text, "") << e;
    }
  }
  const MCIERROR used[] = {MCIERR_INVALID_DEVICE_NAME, MCIERR_FILE_NOT_FOUND, MCIERR_OUTOFRANGE,
                           MCIERR_PARAM_OVERFLOW,      MCIERR_NO_CLOSING_QUOTE, MCIERR_DUPLICATE_ALIAS};
  for (MCIERROR e : used) EXPECT_TRUE(mciGetErrorString(e, nullptr, 0)) << e;
  char small[6];
  ASSERT_TRUE(mciGetErrorString(MCIERR_FILE_NOT_FOUND, small, sizeof small));
  EXPECT_STREQ(small, "The f");
  EXPECT_FALSE(mciGetErrorString(0, small, sizeof small));
}

TEST_F(MciCommands, ACommandWithNotifyThatIsDoneAtOnceNotifiesAtOnce) {
  Send("sysinfo all quantity notify");
  RunMessages();
  ASSERT_EQ(notifications().size(), 1u);
  EXPECT_EQ(notifications()[0].flag, static_cast<WPARAM>(MCI_NOTIFY_SUCCESSFUL));
  // A failing command notifies nobody.
  Send("status nothing mode notify", MCIERR_INVALID_DEVICE_NAME);
  RunMessages();
  EXPECT_EQ(notifications().size(), 1u);
}

}  // namespace
}  // namespace mci_test
