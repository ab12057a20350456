#pragma once

#include <Qt>

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace vembra {

// The modifier keys held with a key press, as a set of bits.
using TShiftState = std::uint8_t;
inline constexpr TShiftState ssShift = 0x01;
inline constexpr TShiftState ssAlt = 0x02;
inline constexpr TShiftState ssCtrl = 0x04;
inline constexpr TShiftState ssMeta = 0x08;

// One step of the hidden key sequence: the key expected and how strictly it is compared.
struct TCommandKey {
    std::int32_t Code = 0;
    TShiftState ShiftState = 0;
    bool CaseSensitive = false;
    bool CheckShift = false;
};

// The hidden key sequence, step by step.
using TCommand = std::vector<TCommandKey>;

// The eight steps that open the credits list: four letters held with Ctrl+Shift, then four
// digits with any modifiers.
TCommand BuildKeySequence();

// Whether a key press with its modifiers satisfies a step of the sequence.
bool KeyMatches(const TCommandKey& Step, std::uint16_t Key, TShiftState Shift);

// The 16-bit key code of a Qt key: letters and digits keep their character codes, the modifier
// keys get codes of their own, and every other key outside 16 bits becomes 0.
std::uint16_t keyCodeFromQt(int qtKey);

// The modifier set of Qt modifiers (the keypad flag is no modifier key and is dropped).
TShiftState shiftStateFromQt(Qt::KeyboardModifiers modifiers);

// The time source of the key sequence, replaceable so tests can move time by hand.
using KeyClock = std::function<std::chrono::steady_clock::time_point()>;

// Follows key presses through the sequence: counts the steps matched in a row, restarts after a
// pause of more than six seconds, and runs the completion action when all steps have matched.
class KeySequenceMatcher {
public:
    // The longest pause between two keys of one attempt.
    static constexpr std::chrono::milliseconds kMaxPause{6000};

    KeySequenceMatcher(TCommand sequence, std::function<void()> onComplete,
                       KeyClock clock = std::chrono::steady_clock::now);

    // Handles one key press; the count is back at 0 after the completion action, also when the
    // action throws.
    void keyDown(std::uint16_t key, TShiftState shift);

    const TCommand& KeySequence() const { return m_sequence; }
    int MatchedKeys() const { return m_matchedKeys; }

private:
    TCommand m_sequence;
    std::function<void()> m_onComplete;
    KeyClock m_clock;
    int m_matchedKeys = 0;
    std::optional<std::chrono::steady_clock::time_point> m_lastKeyTime;
};

} // namespace vembra
