// The sound and movie page objects: their parts, the load of their document
// and what the buttons and a delivery do to the player.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "core/object_utils.h"
#include "core/objects/support/fake_store.h"
#include "pages/load_target.h"
#include "pages/media/media_load_target.h"
#include "pages/media/media_positions.h"
#include "pages/media/support/media_objects_fixture.h"
#include "pages/media/vkx_movie.h"
#include "pages/media/vkx_sound.h"
#include "pages/media/vmci.h"
#include "pages/objects/vlabel.h"
#include "pages/style/property_table.h"
#include "pages/style/style_expressions.h"
#include "pages/support/test_objects.h"
#include "store/cache/file_cache.h"

namespace pages_test {
namespace {

constexpr char kMediaStyles[] =
    "Toolbutton = { Boolean visible = TRUE; Boolean fitcaption = FALSE }\n"
    "Sound = { Rect pos; Boolean autoplay = TRUE; File filename; Toolbutton play { } Toolbutton stop { } }\n"
    "Sound NoStop { stop.visible = FALSE }\n"
    "Sound NoButtons { play.visible = FALSE; stop.visible = FALSE }\n"
    "Sound Quiet { autoplay = FALSE }\n"
    "Sound Named { filename = \"named.avi\" }\n";

class VkxMediaTest : public MediaObjectTest {
 protected:
  void SetUp() override {
    MediaObjectTest::SetUp();
    objects_.Install();
    Styles(kMediaStyles);
  }
  void TearDown() override {
    delete host_;
    host_ = nullptr;
    objects_.Remove();
    MediaObjectTest::TearDown();
  }
  // The object on the host with the named style, initialised.
  template <class T, class Source>
  T* Add(const Source& source, const char* style = "Sound") {
    auto* object = new T(0, 0, 320, 240, source);
    object->SetStyle(InstantiateStruct(static_cast<const PropertyStruct*>(StyleTable().MemberByName(style))));
    host_->AppendChild(object);
    object->Initialize();
    return object;
  }
  // Delivers a file for the object's queued load.
  void Deliver(const std::string& file, int temporary) {
    ASSERT_FALSE(media_.loads.empty());
    media_.loads.back().target->Deliver(file.c_str(), temporary);
  }
  TestObjects objects_;
};

TEST_F(VkxMediaTest, TheButtonsTakeTheBottomRowAsTheStyleAllows) {
  struct Case {
    const char* style;
    bool play, stop;
  } cases[] = {{"NoButtons", false, false}, {"Sound", true, true}, {"NoStop", true, false}};
  int wholeHeight = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.style);
    auto* sound = Add<VKxSound>(objects_.Sound(0x150, "GOid=snd150\n"), c.style);
    ASSERT_NE(sound->Player(), nullptr);
    const RECT p = sound->Player()->Rect();
    EXPECT_EQ(sound->PlayButton() != nullptr, c.play);
    EXPECT_EQ(sound->StopButton() != nullptr, c.stop);
    if (!c.play) wholeHeight = p.bottom - p.top;
    if (VLabel* play = sound->PlayButton()) {
      // The player gives the button row its height: 20 of 480 on a screen
      // 480 high, the buttons 80 of 640 wide.
      EXPECT_EQ(p.bottom - p.top, wholeHeight - 20);
      const RECT b = play->Rect();
      EXPECT_EQ(b.top, p.bottom);
      EXPECT_EQ(b.bottom - b.top, 20);
      EXPECT_EQ(b.right - b.left, 80);
      EXPECT_EQ(b.left, p.left);
    }
    if (VLabel* stop = sound->StopButton()) EXPECT_EQ(stop->Rect().left, sound->PlayButton()->Rect().right);
    delete sound;
  }
}

TEST_F(VkxMediaTest, TheLoadIsQueuedOnceAndCancelledWhenTheObjectGoes) {
  auto* sound = Add<VKxSound>(objects_.Sound(0x150, "GOid=snd150\n"));
  ASSERT_EQ(media_.loads.size(), 1u);
  EXPECT_EQ(media_.loads[0].kind, LoadKind::Sound);
  EXPECT_EQ(media_.loads[0].target, sound->PendingLoad());
  EXPECT_NE(dynamic_cast<SoundLoadTarget*>(sound->PendingLoad()), nullptr);
  LoadTarget* target = sound->PendingLoad();
  delete sound;
  ASSERT_EQ(media_.cancelled.size(), 1u);
  EXPECT_EQ(media_.cancelled[0], target);
}

TEST_F(VkxMediaTest, ADeliveredSoundPlaysAtOnceEvenWithoutAutoplay) {
  auto* sound = Add<VKxSound>(objects_.Sound(0x150, "GOid=snd150\n"), "Quiet");
  const std::string file = Wav("fetched.wav");
  Deliver(file, 0);
  VMCI* player = sound->Player();
  EXPECT_EQ(player->FileName(), objectUrl(sound->Document()));
  EXPECT_TRUE(player->IsOpen());
  EXPECT_EQ(player->MediaState(), VMCI::kPlaySent);
  EXPECT_EQ(TheFileCache().file(player->FileName()), file.c_str());
}

TEST_F(VkxMediaTest, ASoundDeliveredAsATemporaryFileIsPlayedBeforeTheFileGoes) {
  auto* sound = Add<VKxSound>(objects_.Sound(0x150, "GOid=snd150\n"));
  const std::string file = Wav("temporary.wav");
  Deliver(file, 1);
  VMCI* player = sound->Player();
  EXPECT_TRUE(player->IsOpen());
  EXPECT_EQ(player->MediaState(), VMCI::kPlaySent);
  EXPECT_TRUE(std::filesystem::exists(file));
  // The cache owns the file now and deletes it when the entry goes.
  const CString key = objectUrl(sound->Document());
  EXPECT_TRUE(TheFileCache().isTemporary(key));
  EXPECT_EQ(TheFileCache().lockCount(key), 1);
  delete sound;
  EXPECT_EQ(TheFileCache().lockCount(key), 0);
  TheFileCache().clear();
  EXPECT_FALSE(std::filesystem::exists(file));
}

TEST_F(VkxMediaTest, ADocumentWithoutAnAddressPlaysItsFileByName) {
  auto* sound = Add<VKxSound>(objects_.Sound(0x151));
  const std::string file = Wav("unnamed.wav");
  Deliver(file, 0);
  EXPECT_EQ(sound->Player()->FileName(), file.c_str());
  EXPECT_EQ(sound->Player()->MediaState(), VMCI::kPlaySent);
  EXPECT_FALSE(TheFileCache().contains(""));
}

TEST_F(VkxMediaTest, ATemporaryFileForAnObjectThatWentIsDeleted) {
  const std::string file = Wav("orphan.wav");
  SoundLoadTarget target(nullptr);
  EXPECT_EQ(target.Deliver(file.c_str(), 1), 1);
  EXPECT_FALSE(std::filesystem::exists(file));
}

TEST_F(VkxMediaTest, PlayRestartsAndStopPausesThenStops) {
  auto* sound = Add<VKxSound>(objects_.Sound(0x150, "GOid=snd150\n"));
  Deliver(Wav(), 0);
  VMCI* player = sound->Player();
  const std::string al = player->Alias().str();
  mci_.Take();
  sound->Notify(VLabel::kClicked, sound->PlayButton());
  auto sent = mci_.Take();
  EXPECT_NE(std::find(sent.begin(), sent.end(), "stop " + al + " wait"), sent.end());
  EXPECT_EQ(sent.back(), "play " + al + " from 0 notify");
  mci_.position = "640";
  sound->Notify(VLabel::kClicked, sound->StopButton());
  EXPECT_EQ(player->MediaState(), VMCI::kPaused);
  EXPECT_EQ(player->PausePos(), 640);
  sound->Notify(VLabel::kClicked, sound->StopButton());
  EXPECT_EQ(player->MediaState(), VMCI::kIdle);
}

TEST(MediaPositionsTest, AnchorPositionsGiveStartAndEnd) {
  constexpr LONG none = -1;
  struct Case {
    bool movie;
    const char* position;
    LONG from, to;
  } cases[] = {
      {false, "1.5 3", 1500, 3000},
      {false, "-1 2", none, 2000},
      {false, "2", none, none},
      {false, "1e300 1", none, 1000},
      {false, "nan 0.0019", none, 1},
      {true, "Rect: 10, 20, 30", 10, 30},
      {true, "Rect:10", 10, none},
      {true, "Rect: -5, 40", none, 40},
      {true, "Rect: 7, x, 9", 7, none},
      {true, "Pos: 10, 20", none, none},
      {true, "Rect 10, 20", none, none},
      {true, "Rect: 99999999999999999999, 5", none, none},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.position);
    const MediaRange r = c.movie ? ReadMoviePosition(c.position) : ReadSoundPosition(c.position);
    EXPECT_EQ(r.from.value_or(none), c.from);
    EXPECT_EQ(r.to.value_or(none), c.to);
  }
}

// The positions reach the player.
class SoundProbe : public VKxSound {
 public:
  using VKxSound::VKxSound;
  using VKxSound::ApplyAnchorPosition;
};

TEST_F(VkxMediaTest, AnAnchorPositionSetsThePlayersRange) {
  auto* sound = Add<SoundProbe>(Ref<KXObject>());
  sound->ApplyAnchorPosition("-1 2");
  EXPECT_EQ(sound->Player()->FromPos(), 0);
  EXPECT_EQ(sound->Player()->ToPos(), 2000);
  sound->ApplyAnchorPosition("0.25 7");
  EXPECT_EQ(sound->Player()->FromPos(), 250);
  EXPECT_EQ(sound->Player()->ToPos(), 7000);
}

// A movie whose two link anchors the server gives out of the order of
// their frames: a click follows the anchor live at the frame shown, the
// later start where two overlap, and the link cursor shows over it; a click
// at no anchor pauses as ever.
TEST_F(VkxMediaTest, AClickOnAMovieFollowsTheAnchorLiveAtItsFrame) {
  Ref<FakeStore> server(new FakeStore("fake://films/"));
  const Ref<KXObject> film = objects_.Movie(0x170, "GOid=mov170\n");
  film->setStore(Ref<Store>(server));
  auto anchor = [&](std::int32_t id, const char* position) {
    return MakeObject(Record(id, (std::string("Type=Anchor\nTAnchor=Src\nDest=0x80\nPosition=") + position + "\n").c_str()),
                      Ref<Store>(server));
  };
  server->setResults(kRequestAnchors, film->getIdentifier(),
                     {anchor(0x72, "Rect:15,40"), anchor(0x71, "Rect:10,20"), anchor(0x73, "Circle:5,9")});
  auto* movie = Add<VKxMovie>(film);
  Deliver(Avi(), 0);
  VMCI* player = movie->Player();
  ASSERT_TRUE(player->IsOpen());
  ASSERT_TRUE(player->IsPlaying());
  struct Click {
    const char* frame;
    const char* followed;  // null: none, and the click pauses
  };
  const Click clicks[] = {{"12", "0x00000071"}, {"18", "0x00000072"}, {"40", "0x00000072"}, {"7", nullptr}};
  for (const Click& c : clicks) {
    SCOPED_TRACE(c.frame);
    media_.followed.clear();
    mci_.position = c.frame;
    // The mouse over the movie shows whether a click would follow a link.
    player->OnMouseMove(5, 5);
    EXPECT_EQ(GetCursor() != LoadCursor(nullptr, IDC_ARROW), c.followed != nullptr);
    player->OnMouseUp(5, 5);
    if (!c.followed) {
      EXPECT_TRUE(media_.followed.empty());
      EXPECT_EQ(player->MediaState(), VMCI::kPaused);
      continue;
    }
    ASSERT_EQ(media_.followed.size(), 1u);
    EXPECT_EQ(media_.followed[0]->getObjectIdText(), c.followed);
    EXPECT_TRUE(player->IsPlaying());
  }
  server->clearTables();
}

TEST_F(VkxMediaTest, AMovieNamedByFileQueuesNoLoadAndOpensItself) {
  const std::string file = Avi("film.avi");
  auto* movie = Add<VKxMovie>(file.c_str());
  EXPECT_TRUE(media_.loads.empty());
  EXPECT_EQ(movie->FileName(), file.c_str());
  EXPECT_TRUE(movie->Player()->IsVideo());
  EXPECT_TRUE(movie->Player()->IsOpen());
  EXPECT_EQ(movie->Player()->FileName(), file.c_str());
  // A style that names a file fetches nothing either.
  Avi("named.avi");
  Add<VKxMovie>(objects_.Movie(0x160, "GOid=mov160\n"), "Named");
  EXPECT_TRUE(media_.loads.empty());
}

TEST_F(VkxMediaTest, ADeliveredMovieWithoutAutoplayStandsOpenedAndPaused) {
  auto* movie = Add<VKxMovie>(objects_.Movie(0x160, "GOid=mov160\n"), "Quiet");
  ASSERT_EQ(media_.loads.size(), 1u);
  EXPECT_EQ(media_.loads[0].kind, LoadKind::Movie);
  EXPECT_NE(dynamic_cast<MovieLoadTarget*>(movie->PendingLoad()), nullptr);
  Deliver(Avi(), 0);
  EXPECT_TRUE(movie->Player()->IsOpen());
  EXPECT_EQ(movie->Player()->MediaState(), VMCI::kPaused);
  EXPECT_FALSE(mci_.Sent("play " + movie->Player()->Alias().str() + " from 0"));
  auto* playing = Add<VKxMovie>(objects_.Movie(0x161, "GOid=mov161\n"));
  Deliver(Avi("b.avi"), 0);
  EXPECT_EQ(playing->Player()->MediaState(), VMCI::kPlaySent);
}

TEST_F(VkxMediaTest, HidingAMovieHidesItsPartsAndShowingKeepsAHiddenButtonHidden) {
  auto* movie = Add<VKxMovie>(Avi().c_str());
  EXPECT_TRUE(movie->SetBoolAttribute("visible", false));
  EXPECT_TRUE(movie->Has(VObject::kHidden));
  EXPECT_TRUE(movie->Player()->Has(VObject::kHidden));
  EXPECT_TRUE(movie->PlayButton()->Has(VObject::kHidden));
  EXPECT_TRUE(movie->StopButton()->Has(VObject::kHidden));
  // The stop button's own style says it stays hidden.
  movie->StopButton()->SetStyle(ApplyStyleAssignments("Toolbutton(visible = FALSE)", nullptr));
  movie->StopButton()->SetBoolAttribute("visible", false);
  EXPECT_TRUE(movie->SetBoolAttribute("visible", true));
  EXPECT_FALSE(movie->Has(VObject::kHidden));
  EXPECT_FALSE(movie->Player()->Has(VObject::kHidden));
  EXPECT_FALSE(movie->PlayButton()->Has(VObject::kHidden));
  EXPECT_TRUE(movie->StopButton()->Has(VObject::kHidden));
}

}  // namespace
}  // namespace pages_test
