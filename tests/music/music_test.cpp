#include "music/music.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "tests/music/placement.h"
#include "tests/support/module_ids.h"
#include "tests/support/output_capture.h"

namespace {

using Shape = std::function<int32_t(int32_t)>;

int32_t constant_4000(int32_t) { return 4000; }

class MusicTest : public ::testing::Test {
 protected:
  MUSIC* music = MUSIC_create();
  std::vector<SAMPLE*> owned;

  void TearDown() override {
    MUSIC_destroy(&music);
    for (SAMPLE*& instrument : owned) {
      SAMPLE_destroy(&instrument);
    }
    MUSIC_set_loop_guard(nullptr, nullptr, nullptr);
    MUSIC_set_error_report(0);
  }

  SAMPLE* make_instrument(const Shape& shape, int32_t length = sound_length) {
    SAMPLE* instrument = SAMPLE_create();
    SAMPLE_set_length(instrument, length);
    for (int32_t i = 0; i < length; ++i) {
      instrument->values[i] = shape(i);
    }
    owned.push_back(instrument);
    return instrument;
  }

  SAMPLE* add_instrument(const Shape& shape, int32_t length = sound_length) {
    SAMPLE* instrument = make_instrument(shape, length);
    MUSIC_add_instrument(music, instrument);
    return instrument;
  }

  std::vector<int32_t> loop_values() const {
    return {music->loop->values, music->loop->values + music->loop->length};
  }

  void fill_loop(int32_t value) {
    for (int32_t i = 0; i < music->loop->length; ++i) {
      music->loop->values[i] = value;
    }
  }
};

// The loop after one sound of `shape` has gone in at `offset`, wrapping at
// the loop's end, over a loop that was `outside` everywhere else.
std::vector<int32_t> expected_loop(int32_t length, int32_t offset, int32_t placed_length,
                                   const Shape& inside, int32_t outside) {
  std::vector<int32_t> loop(static_cast<size_t>(length), outside);
  for (int32_t j = 0; j < placed_length && j < length; ++j) {
    loop[static_cast<size_t>((offset + j) % length)] = inside(j);
  }
  return loop;
}

TEST(MusicModule, IdentificationRecordPutsTheAuthorBeforeTheDate) {
  expect_module_id(MUSIC_id, {"MUSIC   ", "Kadwelon", "20101019", "C       ", "CODE    "});
}

TEST(MusicModule, ErrorLineIsPrintedOnlyWhileTheSwitchIsOn) {
  const auto refused_calls = [] {
    MUSIC* none = nullptr;
    MUSIC_error();
    MUSIC_destroy(nullptr);
    MUSIC_destroy(&none);
  };
  EXPECT_EQ(printed_by(refused_calls), "");
  MUSIC_set_error_report(1);
  EXPECT_EQ(printed_by(refused_calls), "MUSIC ERROR\nMUSIC ERROR\nMUSIC ERROR\n");
  MUSIC_set_error_report(0);
  EXPECT_EQ(printed_by(refused_calls), "");
}

TEST_F(MusicTest, CreateGivesASilentLoopAndAnEmptyList) {
  ASSERT_NE(music, nullptr);
  EXPECT_EQ(music->countdown, 0);
  EXPECT_EQ(music->period, 300);
  ASSERT_NE(music->loop, nullptr);
  EXPECT_EQ(music->loop->length, music_loop_length);
  EXPECT_EQ(music->loop->capacity, music_loop_length);
  EXPECT_EQ(loop_values(), std::vector<int32_t>(music_loop_length, 0));
  ASSERT_NE(music->instruments, nullptr);
  EXPECT_EQ(music->instruments->length, 0);
}

TEST_F(MusicTest, InstrumentsAreListedInTheOrderAddedAndNullsAreRefusedSilently) {
  SAMPLE* first = add_instrument(constant_4000);
  SAMPLE* second = add_instrument(constant_4000);
  MUSIC_set_error_report(1);
  EXPECT_EQ(printed_by([&] {
              MUSIC_add_instrument(music, nullptr);
              MUSIC_add_instrument(nullptr, first);
              MUSIC_step(nullptr);
            }),
            "");
  ASSERT_EQ(music->instruments->length, 2);
  EXPECT_EQ(ARRAY_get(music->instruments, 0), first);
  EXPECT_EQ(ARRAY_get(music->instruments, 1), second);

  ARRAY_destroy(&music->instruments);
  MUSIC_add_instrument(music, first);
  EXPECT_EQ(music->instruments, nullptr);
}

TEST_F(MusicTest, FirstStepMixesAtOnceAndTheNextMixingIsThe301stCall) {
  add_instrument(constant_4000);
  const unsigned seed = 77;
  std::srand(seed);
  MUSIC_step(music);
  // A mixing draws exactly five numbers and the calls between draw none.
  const int32_t next_draw = std::rand();
  EXPECT_EQ(next_draw, nth_draw_from_seed(seed, 6));
  EXPECT_EQ(music->countdown, 300);
  const std::vector<int32_t> after_first = loop_values();
  const Placement first = placement_from_seed(seed, 1, music_loop_length);
  EXPECT_EQ(after_first,
            expected_loop(
                music_loop_length, first.offset, sound_length, [](int32_t) { return 1000; }, 0));

  std::srand(seed);
  for (int call = 2; call <= 300; ++call) {
    MUSIC_step(music);
    ASSERT_EQ(music->countdown, 301 - call) << "call " << call;
  }
  EXPECT_EQ(loop_values(), after_first);
  const int32_t untouched = std::rand();
  EXPECT_EQ(untouched, nth_draw_from_seed(seed, 1));

  std::srand(seed);
  MUSIC_step(music);
  EXPECT_EQ(music->countdown, 300);
  EXPECT_NE(loop_values(), after_first);
  const int32_t after_second = std::rand();
  EXPECT_EQ(after_second, nth_draw_from_seed(seed, 6));
}

// One sound into the silent loop at the first and the last grid positions.
TEST_F(MusicTest, ASoundMixedIntoSilenceEntersAtAQuarterRoundedDown) {
  struct Case {
    int32_t value;
    int32_t mixed;
  };
  const Case cases[] = {{4000, 1000}, {-1, -1}, {3, 0}, {-4, -1}, {-5, -2}, {7, 1}};
  for (const int32_t offset : {0, 20000, 37500}) {
    const unsigned seed = seed_giving_offset(offset, 1, music_loop_length);
    for (const Case& c : cases) {
      MUSIC* fresh = MUSIC_create();
      MUSIC_add_instrument(fresh, make_instrument([&](int32_t) { return c.value; }));
      std::srand(seed);
      MUSIC_step(fresh);
      const std::vector<int32_t> got(fresh->loop->values, fresh->loop->values + music_loop_length);
      EXPECT_EQ(got,
                expected_loop(
                    music_loop_length, offset, sound_length, [&](int32_t) { return c.mixed; }, 0))
          << "value " << c.value << " at offset " << offset;
      MUSIC_destroy(&fresh);
    }
  }
}

TEST_F(MusicTest, TheLastGridPositionWrapsTheSoundToTheLoopStart) {
  // Every instrument value is distinct after the quarter: value i lands as i + 1.
  add_instrument([](int32_t i) { return 4 * (i + 1); });
  std::srand(seed_giving_offset(37500, 1, music_loop_length));
  MUSIC_step(music);
  const std::vector<int32_t> loop = loop_values();
  for (int32_t j = 0; j < 2500; ++j) {
    ASSERT_EQ(loop[static_cast<size_t>(37500 + j)], j + 1) << "instrument value " << j;
  }
  for (int32_t j = 2500; j < sound_length; ++j) {
    ASSERT_EQ(loop[static_cast<size_t>(j - 2500)], j + 1) << "instrument value " << j;
  }
  for (int32_t i = 8525; i < 37500; ++i) {
    ASSERT_EQ(loop[static_cast<size_t>(i)], 0) << "loop index " << i;
  }
}

// floor((3 x old + new) / 4) with 32-bit wrapping, inside and outside the sound.
TEST_F(MusicTest, MixingKeepsThreeQuartersOfTheOldLoop) {
  struct Case {
    int32_t old_value;
    int32_t sound;
    int32_t inside;
    int32_t outside;
  };
  const Case cases[] = {
      {1000, 4000, 1750, 750},
      {-1, 0, -1, -1},
      {4, -4, 2, 3},
      {-4, 4, -2, -3},
      {INT32_MAX, 3, -536870912, 536870911},
  };
  const unsigned seed = seed_giving_offset(10000, 1, music_loop_length);
  for (const Case& c : cases) {
    MUSIC* fresh = MUSIC_create();
    MUSIC_add_instrument(fresh, make_instrument([&](int32_t) { return c.sound; }));
    for (int32_t i = 0; i < music_loop_length; ++i) {
      fresh->loop->values[i] = c.old_value;
    }
    std::srand(seed);
    MUSIC_step(fresh);
    const std::vector<int32_t> got(fresh->loop->values, fresh->loop->values + music_loop_length);
    EXPECT_EQ(got, expected_loop(
                       music_loop_length, 10000, sound_length, [&](int32_t) { return c.inside; },
                       c.outside))
        << "old " << c.old_value << ", sound " << c.sound;
    MUSIC_destroy(&fresh);
  }
}

TEST_F(MusicTest, PickIsTheFirstDrawModuloTheInstrumentCount) {
  for (int32_t n = 0; n < 3; ++n) {
    add_instrument([n](int32_t) { return 400 * (n + 1); });
  }
  std::set<int32_t> picks_seen;
  for (unsigned seed = 1; seed <= 12; ++seed) {
    MUSIC* fresh = MUSIC_create();
    for (int32_t n = 0; n < 3; ++n) {
      MUSIC_add_instrument(fresh, owned[static_cast<size_t>(n)]);
    }
    const Placement at = placement_from_seed(seed, 3, music_loop_length);
    picks_seen.insert(at.pick);
    std::srand(seed);
    MUSIC_step(fresh);
    const std::vector<int32_t> got(fresh->loop->values, fresh->loop->values + music_loop_length);
    EXPECT_EQ(got, expected_loop(
                       music_loop_length, at.offset, sound_length,
                       [&](int32_t) { return 100 * (at.pick + 1); }, 0))
        << "seed " << seed;
    MUSIC_destroy(&fresh);
  }
  EXPECT_EQ(picks_seen.size(), 3u) << "the seeds should exercise every instrument";
}

// Nothing to pick from, or nowhere to put it: the period passes silently, and
// the other users of rand still see five numbers gone.
TEST_F(MusicTest, AMixingWithNothingToMixChangesNothingButStillDrawsFive) {
  struct Case {
    const char* name;
    bool with_instrument;
    bool with_list;
    int32_t loop_length;
  };
  const Case cases[] = {{"no instruments", false, true, music_loop_length},
                        {"an empty loop", true, true, 0},
                        {"no instrument list", false, false, 100}};
  for (const Case& c : cases) {
    MUSIC* fresh = MUSIC_create();
    if (c.with_instrument) {
      MUSIC_add_instrument(fresh, make_instrument(constant_4000));
    }
    if (!c.with_list) {
      ARRAY_destroy(&fresh->instruments);
    }
    SAMPLE_set_length(fresh->loop, c.loop_length);
    for (int32_t i = 0; i < c.loop_length; ++i) {
      fresh->loop->values[i] = 123;
    }
    const unsigned seed = 5;
    std::srand(seed);
    MUSIC_step(fresh);
    const int32_t next_draw = std::rand();
    EXPECT_EQ(next_draw, nth_draw_from_seed(seed, 6)) << c.name;
    EXPECT_EQ(fresh->countdown, 300) << c.name;
    ASSERT_EQ(fresh->loop->length, c.loop_length) << c.name;
    EXPECT_EQ(std::vector<int32_t>(fresh->loop->values, fresh->loop->values + c.loop_length),
              std::vector<int32_t>(static_cast<size_t>(c.loop_length), 123))
        << c.name;
    MUSIC_destroy(&fresh);
  }
}

// The grid follows the loop's own length, and the scratch vector follows it
// back when a generator with the usual length mixes next.
TEST_F(MusicTest, AShorterLoopIsMixedOnItsOwnGrid) {
  const int32_t short_length = 1600;
  add_instrument([](int32_t i) { return 4 * (i + 1); });
  SAMPLE_set_length(music->loop, short_length);
  const unsigned seed = seed_giving_offset(1300, 1, short_length);
  std::srand(seed);
  MUSIC_step(music);
  EXPECT_EQ(loop_values(),
            expected_loop(
                short_length, 1300, short_length, [](int32_t j) { return j + 1; }, 0));

  MUSIC* usual = MUSIC_create();
  MUSIC_add_instrument(usual, make_instrument(constant_4000));
  std::srand(seed_giving_offset(2500, 1, music_loop_length));
  MUSIC_step(usual);
  const std::vector<int32_t> got(usual->loop->values, usual->loop->values + music_loop_length);
  EXPECT_EQ(got, expected_loop(
                     music_loop_length, 2500, sound_length, [](int32_t) { return 1000; }, 0));
  MUSIC_destroy(&usual);
}

TEST_F(MusicTest, DestroyLeavesBorrowedInstrumentsAlone) {
  // Compiled-in records live in static storage: freeing one would crash.
  static int32_t static_values[4] = {1, -2, 3, -4};
  static SAMPLE static_instrument = {4, 4, static_values};
  SAMPLE* heap_instrument = make_instrument(constant_4000, 8);
  MUSIC_add_instrument(music, &static_instrument);
  MUSIC_add_instrument(music, heap_instrument);
  MUSIC_destroy(&music);
  EXPECT_EQ(music, nullptr);
  EXPECT_EQ(static_instrument.values, static_values);
  EXPECT_EQ(static_values[3], -4);
  ASSERT_NE(heap_instrument->values, nullptr);
  EXPECT_EQ(heap_instrument->values[7], 4000);
}

// A reader on another thread must see the old loop until the guard is taken
// and the whole new loop once it is released.
struct GuardProbe {
  const MUSIC* music = nullptr;
  int locks = 0;
  int unlocks = 0;
  std::vector<int32_t> at_lock;
  std::vector<int32_t> at_unlock;
};

std::vector<int32_t> values_of(const SAMPLE* sample) {
  return {sample->values, sample->values + sample->length};
}

void probe_lock(void* context) {
  auto* probe = static_cast<GuardProbe*>(context);
  ++probe->locks;
  probe->at_lock = values_of(probe->music->loop);
}

void probe_unlock(void* context) {
  auto* probe = static_cast<GuardProbe*>(context);
  ++probe->unlocks;
  probe->at_unlock = values_of(probe->music->loop);
}

TEST_F(MusicTest, TheLoopChangesOnlyWhileTheGuardIsHeld) {
  add_instrument(constant_4000);
  fill_loop(-800);
  GuardProbe probe;
  probe.music = music;
  MUSIC_set_loop_guard(probe_lock, probe_unlock, &probe);
  std::srand(9);
  MUSIC_step(music);
  EXPECT_EQ(probe.locks, 1);
  EXPECT_EQ(probe.unlocks, 1);
  EXPECT_EQ(probe.at_lock, std::vector<int32_t>(music_loop_length, -800));
  EXPECT_EQ(probe.at_unlock, loop_values());
  EXPECT_NE(probe.at_unlock, probe.at_lock);

  for (int call = 2; call <= 300; ++call) {
    MUSIC_step(music);
  }
  EXPECT_EQ(probe.locks, 1);
  MUSIC_step(music);
  EXPECT_EQ(probe.locks, 2);
  EXPECT_EQ(probe.unlocks, 2);
}

TEST_F(MusicTest, AOneSidedGuardIsRefusedAndTheOldOneKept) {
  add_instrument(constant_4000);
  GuardProbe probe;
  probe.music = music;
  MUSIC_set_loop_guard(probe_lock, probe_unlock, &probe);
  MUSIC_set_error_report(1);
  EXPECT_EQ(printed_by([] {
              MUSIC_set_loop_guard(probe_lock, nullptr, nullptr);
              MUSIC_set_loop_guard(nullptr, probe_unlock, nullptr);
            }),
            "MUSIC ERROR\nMUSIC ERROR\n");
  MUSIC_step(music);
  EXPECT_EQ(probe.locks, 1);
  EXPECT_EQ(probe.unlocks, 1);
}

}  // namespace
