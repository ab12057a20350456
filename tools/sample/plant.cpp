#include "tools/sample/plant.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <deque>
#include <map>
#include <stdexcept>

namespace vembra::sample {

namespace {

// A small generator with fixed arithmetic (the standard distributions differ between libraries).
class Random {
public:
    explicit Random(std::uint64_t seed)
        : m_state(seed * 0x9E3779B97F4A7C15ull + 0x632BE59BD9B4E019ull)
    {
    }
    std::uint64_t next()
    {
        // splitmix64
        std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    int between(int low, int high) // inclusive
    {
        return low + int(next() % std::uint64_t(high - low + 1));
    }
    double unit() { return double(next() >> 11) * (1.0 / 9007199254740992.0); }
    bool chance(double p) { return unit() < p; }

private:
    std::uint64_t m_state;
};

struct Direction {
    int dx;
    int dy;
};
constexpr std::array<Direction, 4> kDirections = {{{1, 0}, {0, 1}, {-1, 0}, {0, -1}}};

Direction turn(Direction d, bool left)
{
    return left ? Direction{d.dy, -d.dx} : Direction{-d.dy, d.dx};
}

class PlantBuilder {
public:
    explicit PlantBuilder(const PlantOptions& o) : m_options(o), m_random(o.seed)
    {
        if (o.devices < 1)
            throw std::invalid_argument("a node needs at least one device");
        m_devices.reserve(std::size_t(o.devices));
    }

    std::vector<PlantDevice> build()
    {
        const double fibreKm = 0.2 + m_random.unit() * 3.8;
        const int root = add(DeviceKind::FiberNode, -1, 0, 0, 0, true,
                             m_options.mapWidth * (0.3 + 0.4 * m_random.unit()),
                             m_options.mapHeight * (0.3 + 0.4 * m_random.unit()), fibreKm * 4.9);
        // Trunk cascades leave the fiber node along the streets; when they are spent and devices
        // are still wanted, new feeders start from amplifiers already placed.
        for (const Direction d : kDirections)
            m_trunks.push_back({root, d, 0});
        while (!full()) {
            if (!m_trunks.empty()) {
                const Trunk t = m_trunks.front();
                m_trunks.pop_front();
                growTrunk(t);
            } else {
                const int from = m_amplifiers.empty() ? root
                                                      : m_amplifiers[std::size_t(m_random.between(
                                                            0, int(m_amplifiers.size()) - 1))];
                feederLeg(from, kDirections[std::size_t(m_random.between(0, 3))]);
            }
        }
        assignProbes();
        if (m_options.irregularCodes)
            irregularCodes();
        if (m_options.duplicateCode && m_devices.size() > 3)
            m_devices.back().code = m_devices[m_devices.size() / 2].code;
        return std::move(m_devices);
    }

private:
    struct Trunk {
        int from;
        Direction direction;
        int cascade;
    };

    bool full() const { return int(m_devices.size()) >= m_options.devices; }

    // Adds a device fed from parent through a cable of the given length; -1 when the node is full.
    int add(DeviceKind kind, int parent, double metres, int dx, int dy, bool trunk, double x = 0,
            double y = 0, double delay = 0)
    {
        if (full())
            return -1;
        PlantDevice d;
        d.id = m_options.firstId + std::int32_t(m_devices.size());
        d.kind = kind;
        d.trunk = trunk;
        if (parent >= 0) {
            const PlantDevice& p = m_devices[std::size_t(parent)];
            d.parent = p.id;
            const double px = metres / kMetresPerPixel;
            x = p.xpage * m_options.mapWidth + dx * px;
            y = p.ypage * m_options.mapHeight + dy * px;
            // A cable that would leave the map turns back along the street.
            if (x < 0.02 * m_options.mapWidth || x > 0.98 * m_options.mapWidth)
                x = p.xpage * m_options.mapWidth - dx * px;
            if (y < 0.02 * m_options.mapHeight || y > 0.98 * m_options.mapHeight)
                y = p.ypage * m_options.mapHeight - dy * px;
            delay = p.delay + metres * kCoaxDelayPerMetre + 0.001 + 0.004 * m_random.unit();
        }
        d.xpage = std::clamp(x / m_options.mapWidth, 0.0, 1.0);
        d.ypage = std::clamp(y / m_options.mapHeight, 0.0, 1.0);
        d.delay = delay;
        d.code = typeCode(kind) + QString::number(++m_counters[kind] + counterBase(kind));
        m_devices.push_back(d);
        const int index = int(m_devices.size()) - 1;
        if (kind == DeviceKind::Amplifier)
            m_amplifiers.push_back(index);
        return index;
    }

    static int counterBase(DeviceKind kind) { return kind == DeviceKind::Tap ? 100 : 0; }

    void growTrunk(const Trunk& t)
    {
        int at = t.from;
        // A trunk span: couplers feeding legs, now and then a splice, equaliser or power inserter.
        const int couplers = m_random.between(1, 3);
        for (int c = 0; c < couplers && at >= 0; ++c) {
            const DeviceKind kind = m_random.chance(0.15)   ? DeviceKind::Splice
                                    : m_random.chance(0.1)  ? DeviceKind::Equaliser
                                    : m_random.chance(0.08) ? DeviceKind::PowerInserter
                                                            : DeviceKind::Coupler;
            at = add(kind, at, m_random.between(80, 180), t.direction.dx, t.direction.dy, true);
            if (at >= 0 && kind == DeviceKind::Coupler)
                feederLeg(at, turn(t.direction, m_random.chance(0.5)));
        }
        if (at < 0)
            return;
        if (t.cascade >= 5 || m_random.chance(0.08)) {
            add(DeviceKind::Terminator, at, m_random.between(20, 60), t.direction.dx,
                t.direction.dy, true);
            return;
        }
        const int amp = add(DeviceKind::Amplifier, at, m_random.between(120, 260), t.direction.dx,
                            t.direction.dy, true);
        if (amp < 0)
            return;
        m_trunks.push_back({amp, t.direction, t.cascade + 1});
        if (m_random.chance(0.35)) {
            const int split = add(DeviceKind::Splitter, amp, m_random.between(10, 30),
                                  t.direction.dx, t.direction.dy, true);
            if (split >= 0)
                m_trunks.push_back({split, turn(t.direction, m_random.chance(0.5)), t.cascade + 1});
        }
    }

    void feederLeg(int from, Direction d)
    {
        int at = from;
        const int taps = m_random.between(4, 8);
        for (int i = 0; i < taps && at >= 0; ++i) {
            if (i == taps / 2 && m_random.chance(0.3)) {
                const int split =
                    add(DeviceKind::Splitter, at, m_random.between(20, 50), d.dx, d.dy, false);
                if (split < 0)
                    return;
                at = split;
                shortLeg(split, turn(d, m_random.chance(0.5)));
                continue;
            }
            at = add(DeviceKind::Tap, at, m_random.between(30, 60), d.dx, d.dy, false);
            if (m_random.chance(0.15))
                d = turn(d, m_random.chance(0.5));
        }
        if (at >= 0)
            add(DeviceKind::Terminator, at, m_random.between(5, 20), d.dx, d.dy, false);
    }

    void shortLeg(int from, Direction d)
    {
        int at = from;
        const int taps = m_random.between(2, 4);
        for (int i = 0; i < taps && at >= 0; ++i)
            at = add(DeviceKind::Tap, at, m_random.between(30, 60), d.dx, d.dy, false);
        if (at >= 0)
            add(DeviceKind::Terminator, at, m_random.between(5, 20), d.dx, d.dy, false);
    }

    void assignProbes()
    {
        std::vector<std::size_t> carriers;
        for (std::size_t i = 0; i < m_devices.size(); ++i) {
            const DeviceKind k = m_devices[i].kind;
            if (k == DeviceKind::Amplifier || k == DeviceKind::Coupler)
                carriers.push_back(i);
        }
        int nextI = 1;
        int nextF = 1;
        for (const std::size_t i : carriers) {
            const double roll = m_random.unit();
            if (m_options.iVexelProbes && roll < 0.3 && nextI <= 99)
                m_devices[i].iVexel = nextI++;
            else if (m_options.fVexelProbes && roll > 0.75 && nextF <= 99)
                m_devices[i].fVexel = nextF++;
        }
    }

    void irregularCodes()
    {
        const std::size_t n = m_devices.size();
        if (n < 8)
            return;
        m_devices[n - 2].code = QStringLiteral("DCSP") + QString::number(n); // two type codes
        m_devices[n - 3].code = QStringLiteral("tp") + QString::number(n);   // lower case
        m_devices[n - 4].code = QStringLiteral("TP-LONG-CODE-") + QString::number(n * 1000);
    }

    const PlantOptions& m_options;
    Random m_random;
    std::vector<PlantDevice> m_devices;
    std::deque<Trunk> m_trunks;
    std::vector<int> m_amplifiers;
    std::map<DeviceKind, int> m_counters;
};

} // namespace

QString typeCode(DeviceKind kind)
{
    switch (kind) {
    case DeviceKind::FiberNode:
        return QStringLiteral("FN");
    case DeviceKind::Amplifier:
        return QStringLiteral("AM");
    case DeviceKind::Coupler:
        return QStringLiteral("DC");
    case DeviceKind::Splitter:
        return QStringLiteral("SP");
    case DeviceKind::Tap:
        return QStringLiteral("TP");
    case DeviceKind::Terminator:
        return QStringLiteral("TM");
    case DeviceKind::Splice:
        return QStringLiteral("SC");
    case DeviceKind::Equaliser:
        return QStringLiteral("EQ");
    case DeviceKind::PowerInserter:
        return QStringLiteral("PW");
    }
    return {};
}

std::vector<PlantDevice> generatePlant(const PlantOptions& options)
{
    return PlantBuilder(options).build();
}

} // namespace vembra::sample
