// Fuzzes the bus operators: the input is a little program of slices,
// subscripts, runs, concatenations and replications with arbitrary indexes,
// counts and widths over a few buses.  Each result is compared with what the
// operator is defined to give, entry by entry, name and constness included.
// An operation outside its bus (a subscript or slice bound outside it, a run
// between buses that are not one bit wide, a result longer than an int can
// count) must end the program with status 1; any other end is a finding.
#include <fuzzer/FuzzedDataProvider.h>

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "core/Signal.h"

namespace {

// What a bus is defined to be: its serial numbers, entry 0 first, its name
// and its constness.
struct Model {
    std::vector<int> serials;
    std::string name;
    int constSignal = 0;
};

// A bus under test beside its model.
struct Bus {
    std::unique_ptr<Signal> signal;
    Model model;
};

// Results longer than this are not built (they would only cost memory); a
// result longer than an int can count is built, as it must end the program.
const long long longestBuilt = 1 << 14;
// Names grow with every concatenation; past this they are not built.
const size_t longestName = 1 << 16;
const size_t poolSize = 16;

std::vector<int> serialsOf(const Signal &s) {
    return std::vector<int>(s.serialNumber.begin(), s.serialNumber.end());
}

// The buses every input starts from: wires created once, as a circuit
// would create them, and the two constants.
std::vector<Bus> &wires() {
    static std::vector<Bus> created;
    return created;
}

void createWires() {
    const struct {
        unsigned length;
        const char *name;
    } buses[] = {{1, "A"}, {1, "B"}, {2, "C"}, {3, "D"}, {4, "E"}, {8, "F"}, {16, "G"}, {33, "H"}};
    for (const auto &bus : buses) {
        auto signal = std::make_unique<Signal>(bus.length, bus.name);
        Model model{serialsOf(*signal), bus.name, 0};
        wires().push_back({std::move(signal), model});
    }
    auto constant = std::make_unique<Signal>(8, 0xA5u, "K");
    Model constantModel{serialsOf(*constant), "K", 1};
    wires().push_back({std::move(constant), constantModel});
    wires().push_back({std::make_unique<Signal>(Zero), {serialsOf(Zero), "Zero", 1}});
    wires().push_back({std::make_unique<Signal>(One), {serialsOf(One), "One", 1}});
}

void checkAgainstModel(const Signal &s, const Model &m, const std::string &operation) {
    if (s.length != static_cast<int>(m.serials.size()))
        fuzzFinding((operation + ": wrong length").c_str());
    if (serialsOf(s) != m.serials)
        fuzzFinding((operation + ": wrong serial numbers").c_str());
    if (std::string(s.nameTag) != m.name)
        fuzzFinding((operation + ": wrong name").c_str());
    if (s.constSignal != m.constSignal)
        fuzzFinding((operation + ": wrong constness").c_str());
}

// One operation to try, with what it must give: a bus (expected.serials
// filled), or the end of the program (endsProgram).
struct Operation {
    const char *name = "";
    const Bus *a = nullptr;
    const Bus *b = nullptr;
    int i = 0, j = 0;
    int kind = 0;
    bool endsProgram = false;
    Model expected;
    std::unique_ptr<Signal> result;
};

void apply(void *context) {
    Operation &op = *static_cast<Operation *>(context);
    const Signal &a = *op.a->signal;
    switch (op.kind) {
    case 0:
        op.result = std::make_unique<Signal>(a[op.i]);
        break;
    case 1:
        op.result = std::make_unique<Signal>(a.sub(op.i, op.j));
        break;
    case 2:
        op.result = std::make_unique<Signal>(a - *op.b->signal);
        break;
    case 3:
        op.result = std::make_unique<Signal>((a, *op.b->signal));
        break;
    case 4:
        op.result = std::make_unique<Signal>(op.i * a);
        break;
    default:
        op.result = std::make_unique<Signal>(a);
        break;
    }
}

bool inside(const Model &m, long long bit) {
    return bit >= 0 && bit < static_cast<long long>(m.serials.size());
}

// Fills in what the operation must give; false when it is not worth trying.
bool predict(Operation &op) {
    const Model &a = op.a->model;
    Model &e = op.expected;
    e.name = a.name;
    e.constSignal = a.constSignal;
    switch (op.kind) {
    case 0: // subscript
        op.name = "operator[]";
        op.endsProgram = !inside(a, op.i);
        if (!op.endsProgram) {
            e.serials = {a.serials[op.i]};
            if (a.serials.size() > 1)
                e.name += "[" + std::to_string(op.i) + "]";
        }
        return true;
    case 1: { // slice: entry 0 is bit j, running towards bit i
        op.name = "sub";
        op.endsProgram = !inside(a, op.i) || !inside(a, op.j);
        const int step = op.j < op.i ? 1 : -1;
        for (int bit = op.j; !op.endsProgram; bit += step) {
            e.serials.push_back(a.serials[bit]);
            if (bit == op.i)
                break;
        }
        return true;
    }
    case 2: { // run of consecutive serial numbers from b's towards a's
        op.name = "operator-";
        const Model &b = op.b->model;
        op.endsProgram = a.serials.size() != 1 || b.serials.size() != 1;
        if (op.endsProgram)
            return true;
        const int s = a.serials[0], end = b.serials[0];
        if (std::llabs(static_cast<long long>(s) - end) >= longestBuilt)
            return false;
        const int step = end < s ? 1 : -1;
        for (int serial = end;; serial += step) {
            e.serials.push_back(serial);
            if (serial == s)
                break;
        }
        return true;
    }
    case 3: { // concatenation, b in the low bits
        op.name = "operator,";
        const Model &b = op.b->model;
        if (a.serials.size() + b.serials.size() > longestBuilt ||
            a.name.size() + b.name.size() >= longestName)
            return false;
        e.serials = b.serials;
        e.serials.insert(e.serials.end(), a.serials.begin(), a.serials.end());
        e.name = a.name + "," + b.name;
        return true;
    }
    case 4: { // replication
        op.name = "operator*";
        const long long n =
            op.i <= 0 ? 0 : static_cast<long long>(op.i) * static_cast<long long>(a.serials.size());
        op.endsProgram = n > INT_MAX;
        if (op.endsProgram)
            return true;
        if (n > longestBuilt)
            return false;
        for (long long p = 0; p < n; ++p)
            e.serials.push_back(a.serials[p % a.serials.size()]);
        return true;
    }
    default: // copy
        op.name = "copy";
        e.serials = a.serials;
        return true;
    }
}

// An index or count: mostly near the buses' widths, sometimes anything.
int consumeNumber(FuzzedDataProvider &in) {
    return in.ConsumeBool() ? in.ConsumeIntegralInRange<int>(-3, 40) : in.ConsumeIntegral<int>();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    silenceStandardStreams();
    createWires();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    FuzzedDataProvider in(data, size);
    std::vector<Bus> pool;
    for (const Bus &wire : wires())
        pool.push_back({std::make_unique<Signal>(*wire.signal), wire.model});
    while (in.remaining_bytes() > 0) {
        Operation op;
        op.kind = in.ConsumeIntegralInRange<int>(0, 5);
        op.a = &pool[in.ConsumeIntegralInRange<size_t>(0, pool.size() - 1)];
        op.b = &pool[in.ConsumeIntegralInRange<size_t>(0, pool.size() - 1)];
        op.i = consumeNumber(in);
        op.j = consumeNumber(in);
        if (!predict(op))
            continue;
        const int status = exitStatusOf(apply, &op);
        if (op.endsProgram) {
            if (status != 1)
                fuzzFinding((std::string(op.name) + ": did not end the program with status 1").c_str());
            continue;
        }
        if (status != -1)
            fuzzFinding((std::string(op.name) + ": ended the program on a valid bus").c_str());
        checkAgainstModel(*op.result, op.expected, op.name);
        // The result joins the pool, in place of an older bus once it is full.
        Bus result{std::move(op.result), op.expected};
        if (pool.size() < poolSize)
            pool.push_back(std::move(result));
        else
            pool[in.ConsumeIntegralInRange<size_t>(0, pool.size() - 1)] = std::move(result);
    }
    return 0;
}
