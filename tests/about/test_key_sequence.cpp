// The hidden key sequence of the About box: the key comparison and the counting with its clock.
#include "app/about/key_sequence.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace vembra {
namespace {

using namespace std::chrono_literals;

constexpr TShiftState kHeld = ssCtrl | ssShift;

struct KeyMatchCase {
    const char* what;
    TCommandKey step;
    std::uint16_t key;
    TShiftState shift;
    bool matches;
};

TEST(KeyMatches, ComparesKeyAndModifiers)
{
    const KeyMatchCase cases[] = {
        {"same letter", {'N', 0, false, false}, 'N', 0, true},
        {"lower-case key, upper-case step", {'N', 0, false, false}, 'n', 0, true},
        {"upper-case key, lower-case step", {'n', 0, false, false}, 'N', 0, true},
        {"case-sensitive step, other case", {'n', 0, true, false}, 'N', 0, false},
        {"case-sensitive step, same code", {'n', 0, true, false}, 'n', 0, true},
        {"other letter", {'N', 0, false, false}, 'M', 0, false},
        {"only the low byte counts", {'N', 0, false, false}, 0x014E, 0, true},
        {"digit", {'1', 0, false, false}, '1', 0, true},
        {"modifiers ignored without CheckShift", {'1', 0, false, false}, '1', ssCtrl | ssAlt, true},
        {"exact modifier set", {'N', kHeld, false, true}, 'N', kHeld, true},
        {"a further modifier held", {'N', kHeld, false, true}, 'N', kHeld | ssAlt, false},
        {"a modifier missing", {'N', kHeld, false, true}, 'N', ssCtrl, false},
        {"no modifiers at all", {'N', kHeld, false, true}, 'n', 0, false},
        {"right modifiers, wrong key", {'N', kHeld, false, true}, 'O', kHeld, false},
    };
    for (const KeyMatchCase& c : cases)
        EXPECT_EQ(KeyMatches(c.step, c.key, c.shift), c.matches) << c.what;
}

TEST(BuildKeySequence, FourHeldLettersThenFourDigits)
{
    const TCommand sequence = BuildKeySequence();
    ASSERT_EQ(sequence.size(), 8u);
    for (std::size_t i = 0; i < sequence.size(); ++i) {
        const TCommandKey& step = sequence[i];
        EXPECT_FALSE(step.CaseSensitive) << "step " << i;
        if (i < 4) {
            EXPECT_TRUE(step.Code >= 'A' && step.Code <= 'Z') << "step " << i;
            EXPECT_TRUE(step.CheckShift) << "step " << i;
            EXPECT_EQ(step.ShiftState, sequence[0].ShiftState) << "step " << i;
        } else {
            EXPECT_TRUE(step.Code >= '0' && step.Code <= '9') << "step " << i;
            EXPECT_FALSE(step.CheckShift) << "step " << i;
        }
    }
}

struct QtKeyCase {
    int qtKey;
    std::uint16_t code;
};

TEST(KeyCodeFromQt, LettersKeepTheirCodesAndModifierKeysMatchNoStep)
{
    const QtKeyCase cases[] = {
        {Qt::Key_A, 'A'},    {Qt::Key_7, '7'}, {Qt::Key_Shift, 0x10}, {Qt::Key_Control, 0x11},
        {Qt::Key_Alt, 0x12}, {Qt::Key_F1, 0},  {Qt::Key_Escape, 0},
    };
    for (const QtKeyCase& c : cases)
        EXPECT_EQ(keyCodeFromQt(c.qtKey), c.code) << "Qt key " << c.qtKey;
    for (const TCommandKey& step : BuildKeySequence())
        for (int modifierKey : {Qt::Key_Shift, Qt::Key_Control, Qt::Key_Alt, Qt::Key_Meta})
            EXPECT_FALSE(KeyMatches(step, keyCodeFromQt(modifierKey), step.ShiftState));
}

TEST(ShiftStateFromQt, KeypadIsNoModifier)
{
    EXPECT_EQ(shiftStateFromQt(Qt::ControlModifier | Qt::ShiftModifier), ssCtrl | ssShift);
    EXPECT_EQ(shiftStateFromQt(Qt::AltModifier | Qt::MetaModifier), ssAlt | ssMeta);
    EXPECT_EQ(shiftStateFromQt(Qt::KeypadModifier), 0);
}

// A clock the test moves by hand.
struct ManualClock {
    std::chrono::steady_clock::time_point now{std::chrono::hours(1000)};
    KeyClock clock()
    {
        return [this] { return now; };
    }
};

class KeySequenceMatcherTest : public ::testing::Test {
protected:
    KeySequenceMatcherTest()
        : matcher(
              BuildKeySequence(), [this] { ++opened; }, time.clock())
    {
    }

    // Types steps [from, to) of the sequence, each key one second after the one before.
    void typeSteps(std::size_t from, std::size_t to)
    {
        const TCommand& sequence = matcher.KeySequence();
        for (std::size_t i = from; i < to; ++i) {
            time.now += 1s;
            const TCommandKey& step = sequence[i];
            matcher.keyDown(static_cast<std::uint16_t>(step.Code), step.ShiftState);
        }
    }

    ManualClock time;
    int opened = 0;
    KeySequenceMatcher matcher;
};

TEST_F(KeySequenceMatcherTest, EightRightKeysOpenTheCreditsOnceAndRestartTheCount)
{
    typeSteps(0, 7);
    EXPECT_EQ(matcher.MatchedKeys(), 7);
    EXPECT_EQ(opened, 0);
    typeSteps(7, 8);
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(matcher.MatchedKeys(), 0);
    typeSteps(0, 8);
    EXPECT_EQ(opened, 2);
}

TEST_F(KeySequenceMatcherTest, WrongKeyResetsAndIsNotTheFirstKeyOfANewAttempt)
{
    typeSteps(0, 3);
    time.now += 1s;
    // The first step's key in place of the fourth: a wrong key, counted as nothing.
    const TCommandKey first = matcher.KeySequence()[0];
    matcher.keyDown(static_cast<std::uint16_t>(first.Code), first.ShiftState);
    EXPECT_EQ(matcher.MatchedKeys(), 0);
    typeSteps(1, 8);
    EXPECT_EQ(opened, 0);
}

TEST_F(KeySequenceMatcherTest, PressingAModifierKeyAgainResets)
{
    typeSteps(0, 2);
    time.now += 1s;
    matcher.keyDown(keyCodeFromQt(Qt::Key_Control), ssCtrl | ssShift);
    EXPECT_EQ(matcher.MatchedKeys(), 0);
}

TEST_F(KeySequenceMatcherTest, PauseOfMoreThanSixSecondsRestartsTheCount)
{
    typeSteps(0, 4);
    // typeSteps adds one second before each key: a pause of six seconds and a millisecond.
    time.now += KeySequenceMatcher::kMaxPause - 1s + 1ms;
    // The rest of the sequence after the pause: its first key is compared with the first step.
    typeSteps(4, 8);
    EXPECT_EQ(opened, 0);
    EXPECT_EQ(matcher.MatchedKeys(), 0);
}

TEST_F(KeySequenceMatcherTest, KeyAfterThePauseCanStartANewAttempt)
{
    typeSteps(0, 5);
    time.now += 10s;
    typeSteps(0, 8);
    EXPECT_EQ(opened, 1);
}

TEST_F(KeySequenceMatcherTest, PauseOfExactlySixSecondsKeepsTheCount)
{
    typeSteps(0, 4);
    time.now += KeySequenceMatcher::kMaxPause - 1s; // typeSteps adds the last second
    typeSteps(4, 8);
    EXPECT_EQ(opened, 1);
}

TEST(KeySequenceMatcher, CountRestartsWhenShowingTheCreditsFails)
{
    ManualClock time;
    KeySequenceMatcher matcher(
        BuildKeySequence(), [] { throw std::runtime_error("no credits"); }, time.clock());
    time.now += 1s;
    const TCommand& sequence = matcher.KeySequence();
    for (std::size_t i = 0; i + 1 < sequence.size(); ++i)
        matcher.keyDown(static_cast<std::uint16_t>(sequence[i].Code), sequence[i].ShiftState);
    EXPECT_THROW(matcher.keyDown(static_cast<std::uint16_t>(sequence.back().Code),
                                 sequence.back().ShiftState),
                 std::runtime_error);
    EXPECT_EQ(matcher.MatchedKeys(), 0);
}

} // namespace
} // namespace vembra
