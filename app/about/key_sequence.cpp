#include "app/about/key_sequence.h"

#include <QChar>

#include <utility>

namespace vembra {

namespace {

// Key codes of the modifier keys themselves (the values the Windows keyboard gives them).
constexpr std::uint16_t kShiftKeyCode = 0x10;
constexpr std::uint16_t kControlKeyCode = 0x11;
constexpr std::uint16_t kAltKeyCode = 0x12;
constexpr std::uint16_t kMetaKeyCode = 0x5B;

QChar upperLowByte(std::uint32_t code)
{
    return QChar::fromLatin1(static_cast<char>(code & 0xFFu)).toUpper();
}

} // namespace

TCommand BuildKeySequence()
{
    TCommand sequence;
    constexpr TShiftState held = ssCtrl | ssShift;
    for (char letter : {'N', 'O', 'R', 'V'})
        sequence.push_back({letter, held, false, true});
    for (char digit : {'1', '0', '0', '1'})
        sequence.push_back({digit, 0, false, false});
    return sequence;
}

bool KeyMatches(const TCommandKey& Step, std::uint16_t Key, TShiftState Shift)
{
    const auto code = static_cast<std::uint32_t>(Step.Code);
    bool keyOk = Key == code;
    if (!keyOk && !Step.CaseSensitive)
        keyOk = upperLowByte(Key) == upperLowByte(code);
    if (!keyOk)
        return false;
    return !Step.CheckShift || Shift == Step.ShiftState;
}

std::uint16_t keyCodeFromQt(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_Shift:
        return kShiftKeyCode;
    case Qt::Key_Control:
        return kControlKeyCode;
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
        return kAltKeyCode;
    case Qt::Key_Meta:
        return kMetaKeyCode;
    default:
        break;
    }
    if (qtKey < 0 || qtKey > 0xFFFF)
        return 0;
    return static_cast<std::uint16_t>(qtKey);
}

TShiftState shiftStateFromQt(Qt::KeyboardModifiers modifiers)
{
    TShiftState state = 0;
    if (modifiers.testFlag(Qt::ShiftModifier))
        state |= ssShift;
    if (modifiers.testFlag(Qt::AltModifier))
        state |= ssAlt;
    if (modifiers.testFlag(Qt::ControlModifier))
        state |= ssCtrl;
    if (modifiers.testFlag(Qt::MetaModifier))
        state |= ssMeta;
    return state;
}

KeySequenceMatcher::KeySequenceMatcher(TCommand sequence, std::function<void()> onComplete,
                                       KeyClock clock)
    : m_sequence(std::move(sequence)), m_onComplete(std::move(onComplete)),
      m_clock(std::move(clock))
{
}

void KeySequenceMatcher::keyDown(std::uint16_t key, TShiftState shift)
{
    const auto now = m_clock();
    if (!m_lastKeyTime || now - *m_lastKeyTime > kMaxPause)
        m_matchedKeys = 0;
    m_lastKeyTime = now;

    const auto step = static_cast<std::size_t>(m_matchedKeys);
    if (step < m_sequence.size() && KeyMatches(m_sequence[step], key, shift))
        ++m_matchedKeys;
    else
        m_matchedKeys = 0;

    if (m_matchedKeys == 0 || static_cast<std::size_t>(m_matchedKeys) < m_sequence.size())
        return;
    struct ResetCount {
        int& count;
        ~ResetCount() { count = 0; }
    } reset{m_matchedKeys};
    if (m_onComplete)
        m_onComplete();
}

} // namespace vembra
