// Signals: wire registration, the bus operators and their fatal misuse.
#include <gtest/gtest.h>

#include <ostream>

#include <algorithm>
#include <climits>
#include <functional>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "core/Ph1.h"
#include "core/Signal.h"
#include "support/Fresh.h"

namespace {

// The registered wires, in list order.
std::vector<const SignalNode *> wires() {
    std::vector<const SignalNode *> nodes;
    for (const SignalNode *n = phaseOne->signalList.start; n; n = n->ptr)
        nodes.push_back(n);
    return nodes;
}

// "name:value:const" for the wire with the given serial number.
std::string describeWire(int serial) {
    for (const SignalNode *n : wires())
        if (n->signalSerialNumber == serial)
            return std::string(n->name) + ":" + signalValueName(n->value) + ":" +
                   std::to_string(n->constSignal);
    return "missing";
}

// The serial numbers of a bus relative to a base, entry 0 first.
std::vector<int> relative(const Signal &s, int base) {
    std::vector<int> v;
    for (int k = 0; k < s.length; ++k)
        v.push_back(s.serialNumber[k] - base);
    return v;
}

TEST(Signals, AFreshNetlistHoldsOnlyTheConstants) {
    freshNetlist();
    ASSERT_EQ(phaseOne->signalList.numberOfSignals, 2);
    ASSERT_EQ(wires().size(), 2u);
    EXPECT_EQ(describeWire(0), "Zero[0]:ZERO:1");
    EXPECT_EQ(describeWire(1), "One[0]:ONE:1");
    const struct {
        const Signal &s;
        int serial;
        const char *name;
    } constants[] = {{Zero, 0, "Zero"}, {One, 1, "One"}};
    for (const auto &c : constants) {
        EXPECT_EQ(c.s.length, 1);
        EXPECT_EQ(c.s.serialNumber, std::vector<int>{c.serial});
        EXPECT_EQ(c.s.constSignal, 1);
        EXPECT_EQ(c.s.nameTag, c.name);
    }
}

// One constructor call and the wires it must register, from serial number 2 on.
struct WireCase {
    const char *what;
    Signal (*make)();
    std::vector<std::string> wires; // "name:value:const", bit 0 first
    int busConst;
    const char *busName;
};

// Names the case in test listings by what it shows.
void PrintTo(const WireCase &c, std::ostream *os) {
    *os << c.what;
}

const WireCase wireCases[] = {
    {"four plain wires",
     [] { return Signal(4, "D"); },
     {"D[0]:UNINITIALIZED:0", "D[1]:UNINITIALIZED:0", "D[2]:UNINITIALIZED:0", "D[3]:UNINITIALIZED:0"},
     0,
     "D"},
    {"one plain wire keeps the index", [] { return Signal(1, "Clk"); }, {"Clk[0]:UNINITIALIZED:0"}, 0, "Clk"},
    {"plain wires without a name",
     [] { return Signal(2, nullptr); },
     {"Annon[0]:UNINITIALIZED:0", "Annon[1]:UNINITIALIZED:0"},
     0,
     "Annon"},
    {"initial value without a name",
     [] { return Signal(3, ONE, 0, nullptr); },
     {"Annon[0]:ONE:0", "Annon[1]:ONE:0", "Annon[2]:ONE:0"},
     0,
     "Annon"},
    {"initial value, constant", [] { return Signal(2, HIZ, 1, "H"); }, {"H[0]:HIZ:1", "H[1]:HIZ:1"}, 1, "H"},
    {"mask 0x5",
     [] { return Signal(4, 0x5u, "K"); },
     {"K[0]:ONE:1", "K[1]:ZERO:1", "K[2]:ONE:1", "K[3]:ZERO:1"},
     1,
     "K"},
    {"mask without a name", [] { return Signal(1, 1u, nullptr); }, {"Annon[0]:ONE:1"}, 1, "Annon"},
};

class WireTable : public ::testing::TestWithParam<WireCase> {};

TEST_P(WireTable, RegistersConsecutiveWiresAfterTheConstants) {
    const WireCase &c = GetParam();
    freshNetlist();
    const Signal s = c.make();
    const int n = static_cast<int>(c.wires.size());
    EXPECT_EQ(phaseOne->signalList.numberOfSignals, 2 + n) << c.what;
    ASSERT_EQ(s.length, n) << c.what;
    EXPECT_EQ(s.constSignal, c.busConst) << c.what;
    EXPECT_EQ(s.nameTag, c.busName) << c.what;
    for (int i = 0; i < n; ++i) {
        EXPECT_EQ(s.serialNumber[i], 2 + i) << c.what;
        EXPECT_EQ(describeWire(2 + i), c.wires[i]) << c.what << " bit " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Signals, WireTable, ::testing::ValuesIn(wireCases));

TEST(Signals, SixteenBitMaskSetsTheLowByte) {
    freshNetlist();
    const Signal s(16, 0x00FFu, "M");
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(describeWire(2 + i), "M[" + std::to_string(i) + "]:" + (i < 8 ? "ONE" : "ZERO") + ":1");
}

TEST(Signals, MaskBitsRepeatEveryThirtyTwoBits) {
    freshNetlist();
    const Signal s(40, 0x80000002u, "W");
    const int ones[] = {1, 31, 33};
    for (int i = 0; i < 40; ++i) {
        const bool one = std::find(std::begin(ones), std::end(ones), i) != std::end(ones);
        EXPECT_EQ(describeWire(2 + i), "W[" + std::to_string(i) + "]:" + (one ? "ONE" : "ZERO") + ":1");
    }
}

TEST(Signals, EmptyBusRegistersNothing) {
    freshNetlist();
    const Signal e(0, "E");
    EXPECT_EQ(e.length, 0);
    EXPECT_TRUE(e.serialNumber.empty());
    EXPECT_EQ(phaseOne->signalList.numberOfSignals, 2);
    EXPECT_EQ(Signal(2, "N").serialNumber[0], 2);
}

TEST(Signals, WiresOutliveTheirBus) {
    freshNetlist();
    delete new Signal(3, "T");
    EXPECT_EQ(phaseOne->signalList.numberOfSignals, 5);
    EXPECT_EQ(describeWire(4), "T[2]:UNINITIALIZED:0");
    EXPECT_EQ(Signal(1, "next").serialNumber[0], 5);
}

TEST(Signals, SubscriptNamesTheBitOnlyOnWideBuses) {
    freshNetlist();
    const Signal x(4, "x"), c(1, "c");
    const struct {
        const Signal &bus;
        int sub;
        int serial;
        const char *name;
    } cases[] = {{x, 0, 2, "x[0]"}, {x, 3, 5, "x[3]"}, {c, 0, 6, "c"}, {Zero, 0, 0, "Zero"}};
    for (const auto &k : cases) {
        const Signal bit = k.bus[k.sub];
        EXPECT_EQ(bit.length, 1);
        EXPECT_EQ(bit.serialNumber, std::vector<int>{k.serial});
        EXPECT_EQ(bit.nameTag, k.name);
        EXPECT_EQ(bit.constSignal, k.bus.constSignal);
    }
}

TEST(Signals, SlicesRunFromEndTowardsStart) {
    freshNetlist();
    const Signal x(16, "x");
    const struct {
        int start, end;
        std::vector<int> bits;
    } cases[] = {
        {15, 8, {8, 9, 10, 11, 12, 13, 14, 15}},
        {8, 15, {15, 14, 13, 12, 11, 10, 9, 8}},
        {3, 3, {3}},
        {15, 0, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}},
    };
    for (const auto &k : cases) {
        const Signal s = x.sub(k.start, k.end);
        EXPECT_EQ(relative(s, 2), k.bits) << "sub(" << k.start << "," << k.end << ")";
        EXPECT_EQ(s.nameTag, "x");
    }
}

TEST(Signals, RangeOperatorSpansConsecutiveSerialNumbers) {
    freshNetlist();
    const Signal x(16, "x");
    EXPECT_EQ(relative(x[15] - x[0], 2), relative(x, 2));
    std::vector<int> reversed;
    for (int k = 15; k >= 0; --k)
        reversed.push_back(k);
    EXPECT_EQ(relative(x[0] - x[15], 2), reversed);
    EXPECT_EQ(relative(x[4] - x[4], 2), std::vector<int>{4});
    EXPECT_EQ((x[7] - x[4]).nameTag, "x[7]");
}

TEST(Signals, ConcatenationPutsTheRightOperandLow) {
    freshNetlist();
    const Signal a(2, "a"), b(3, "b"), c(1, "c");
    const Signal ab = (a, b);
    EXPECT_EQ(ab.length, 5);
    EXPECT_EQ(relative(ab, 2), (std::vector<int>{2, 3, 4, 0, 1}));
    EXPECT_EQ(ab.nameTag, "a,b");
    const Signal abc = (a, b, c);
    EXPECT_EQ(relative(abc, 2), (std::vector<int>{5, 2, 3, 4, 0, 1}));
    EXPECT_EQ(abc.nameTag, "a,b,c");
    EXPECT_EQ((One, a).constSignal, 1);
    EXPECT_EQ((a, One).constSignal, 0);
    EXPECT_EQ(phaseOne->signalList.numberOfSignals, 8) << "operators create no wires";
}

TEST(Signals, ReplicationRepeatsTheWholeBus) {
    freshNetlist();
    const Signal x(3, "x");
    const struct {
        int reps;
        std::vector<int> bits;
    } cases[] = {{2, {0, 1, 2, 0, 1, 2}}, {1, {0, 1, 2}}, {0, {}}, {-1, {}}};
    for (const auto &k : cases) {
        const Signal r = k.reps * x;
        EXPECT_EQ(r.length, static_cast<int>(k.bits.size())) << k.reps;
        EXPECT_EQ(relative(r, 2), k.bits) << k.reps;
        EXPECT_EQ(r.nameTag, "x");
    }
    EXPECT_EQ((4 * Signal(0, "empty")).length, 0);
    EXPECT_EQ((16 * Zero).serialNumber, std::vector<int>(16, 0));
}

TEST(Signals, AssignmentIsRefusedAndLeavesTheBus) {
    freshNetlist();
    Signal a(2, "a");
    const Signal b(3, "b");
    testing::internal::CaptureStderr();
    a = b;
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Assignment from SignalName = b to Signal Name = a not implemented.\n"
              "  Try to use initialization instead -- or talk to the Prof.\n");
    EXPECT_EQ(a.length, 2);
    EXPECT_EQ(relative(a, 2), (std::vector<int>{0, 1}));
    EXPECT_EQ(a.nameTag, "a");
}

TEST(Signals, PrintWritesSerialNumbersFromTheTop) {
    freshNetlist();
    const Signal x(3, "x");
    std::ostringstream expected;
    expected << "Signal.print() this=" << static_cast<const void *>(&x)
             << " nameTag=x constSignal=0 length=3, numbered:\n     4 3 2 \n";
    testing::internal::CaptureStderr();
    x.print();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), expected.str());
}

TEST(Signals, ValueNames) {
    const struct {
        int value;
        const char *name;
    } cases[] = {{0, "ZERO"}, {1, "UNINITIALIZED"}, {2, "XXX"},         {3, "HIZ"},
                 {4, "ONE"},  {5, "NOT A SIGNAL"},  {7, "NOT A SIGNAL"}};
    for (const auto &k : cases) {
        testing::internal::CaptureStderr();
        saySignalValue(static_cast<SignalValue>(k.value));
        EXPECT_EQ(testing::internal::GetCapturedStderr(), k.name);
    }
}

TEST(Signals, ListPrintsNodesAndCountsOnDestruction) {
    freshNetlist();
    const Signal h(1, HIZ, 0, "h");
    testing::internal::CaptureStderr();
    phaseOne->signalList.print();
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "   Signal number 0   constSignal = 1  Name: Zero[0]  Value: 0\n"
              "   Signal number 1   constSignal = 1  Name: One[0]  Value: 4\n"
              "   Signal number 2   constSignal = 0  Name: h[0]  Value: 3\n");
    testing::internal::CaptureStderr();
    {
        SignalList list;
        list.add(0, ZERO, "z", 0);
        list.numberOfSignals = 7;
    }
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "There are 7 signals.\n");
}

using SignalDeath = ::testing::Test;

TEST(SignalDeath, SubscriptOutOfRangeStops) {
    freshNetlist();
    const Signal x(4, "x");
    EXPECT_EXIT(x[4], ::testing::ExitedWithCode(1),
                "^Signal :: operator\\[\\] subscript out of range--\n  -- Signal = x sub = 4\n"
                "  -- x has length 4: valid subscripts are 0 to 3\n$");
    EXPECT_EXIT(x[-1], ::testing::ExitedWithCode(1), "  -- Signal = x sub = -1\n  -- x has length 4: ");
}

// A third line names the bus's length and the subscripts it has, for a
// one-bit bus and an empty one too.
TEST(SignalDeath, SubscriptOutOfRangeNamesTheLength) {
    freshNetlist();
    const Signal clk(1, "Clk"), none(0, "None");
    EXPECT_EXIT(clk[1], ::testing::ExitedWithCode(1),
                "  -- Signal = Clk sub = 1\n  -- Clk has length 1: the only valid subscript is 0\n$");
    EXPECT_EXIT(none[0], ::testing::ExitedWithCode(1),
                "  -- Signal = None sub = 0\n  -- None has length 0: no subscript is valid\n$");
}

TEST(SignalDeath, SliceOutsideTheBusStops) {
    freshNetlist();
    const Signal x(4, "x");
    const struct {
        int start, end;
        const char *message;
    } cases[] = {
        {0, 4, "^Signal member sub\\(int,int\\)--bad range: 0,4\nSource length = 4\n$"},
        {4, 0, "^Signal member sub\\(int,int\\)--bad range: 4,0\nSource length = 4\n$"},
        {-1, 2, "^Signal member sub\\(int,int\\)--bad range: -1,2\nSource length = 4\n$"},
    };
    for (const auto &k : cases)
        EXPECT_EXIT(x.sub(k.start, k.end), ::testing::ExitedWithCode(1), k.message);
}

TEST(SignalDeath, RangeOperatorNeedsSingleBits) {
    freshNetlist();
    const Signal x(4, "x"), y(2, "y");
    const char *message = "^Error--operator - arguments are not length = 1.\n$";
    EXPECT_EXIT(x - y[0], ::testing::ExitedWithCode(1), message);
    EXPECT_EXIT(x[0] - y, ::testing::ExitedWithCode(1), message);
}

// A bus that claims length bits without holding them: the width checks come
// before anything is read, so a test need not allocate gigabytes.
Signal claiming(int length, const char *name) {
    Signal s(0, name);
    s.length = length;
    return s;
}

TEST(SignalDeath, WidthsAnIntCannotCountStop) {
    freshNetlist();
    const Signal s(4, "s");
    const Signal wide = claiming(INT_MAX, "wide");
    const Signal one = claiming(1, "one");
    const struct {
        const char *what;
        std::function<void()> make;
        const char *message;
    } cases[] = {
        {"replication wrapping to a small width", [&] { (void)(0x40000001 * s); },
         "^Error--operator \\* result too long: 1073741825 copies of length 4\\.\n$"},
        {"replication just past the limit", [&] { (void)(0x7fffffff * Signal(2, "t")); },
         "^Error--operator \\* result too long: 2147483647 copies of length 2\\.\n$"},
        {"concatenation", [&] { (void)(wide, one); },
         "^Error--operator , result too long: lengths 2147483647 and 1\\.\n$"},
        {"concatenation, the other way round", [&] { (void)(one, wide); },
         "^Error--operator , result too long: lengths 1 and 2147483647\\.\n$"},
        {"a bus of more than an int of wires", [] { Signal(0xFFFFFFFFu, "huge"); },
         "^Error--Signal huge of length 4294967295 is more wires than a netlist can hold\\.\n$"},
        {"wires past the largest serial number", [] { Signal(0x7FFFFFFFu, ONE, 0, "past"); },
         "^Error--Signal past of length 2147483647 is more wires than a netlist can hold\\.\n$"},
        {"a constant bus", [] { Signal(0x80000000u, 0x1u, "mask"); },
         "^Error--Signal mask of length 2147483648 is more wires than a netlist can hold\\.\n$"},
    };
    for (const auto &k : cases)
        EXPECT_EXIT(k.make(), ::testing::ExitedWithCode(1), k.message) << k.what;
}

TEST(Signals, WidthsUpToTheLimitAreAccepted) {
    freshNetlist();
    const Signal s(4, "s");
    EXPECT_EQ((claiming(INT_MAX - 4, "w"), s).length, INT_MAX);
    EXPECT_EQ((0x1000 * s).length, 0x4000);
}

TEST(StoredTexts, KeepTheirTextAndShareEqualOnes) {
    std::string source = "aa-bc";
    const StoredText first(source);
    source[0] = '#'; // a stored text is a copy
    const StoredText again("aa-bc");
    const StoredText other(std::string_view("zz"));
    EXPECT_EQ(first, "aa-bc");
    EXPECT_STREQ(first.c_str(), "aa-bc");
    EXPECT_EQ(first.c_str(), again.c_str()) << "an equal text just stored is shared";
    EXPECT_EQ(other, "zz");
    EXPECT_TRUE(first != "aa-b");
    EXPECT_EQ(first[3], 'b');
    EXPECT_EQ(first.size(), 5u);
    for (const StoredText &empty :
         {StoredText(), StoredText(static_cast<const char *>(nullptr)), StoredText("")}) {
        EXPECT_TRUE(empty.empty());
        EXPECT_STREQ(empty.c_str(), "");
    }
    std::ostringstream out;
    out << first << '|' << std::string(other);
    EXPECT_EQ(out.str(), "aa-bc|zz");
}

} // namespace

// The serial-number list keeps short lists inline and longer ones on the
// heap; each step is checked against a vector doing the same.
TEST(SerialNumberLists, BehaveLikeAVectorAcrossTheInlineLimit) {
    SerialNumbers list;
    std::vector<int> model;
    const auto same = [&](const char *step) {
        EXPECT_EQ(list.size(), model.size()) << step;
        EXPECT_TRUE(list == model) << step;
        EXPECT_EQ(std::vector<int>(list), model) << step;
    };
    const int more[] = {7, 8, 9, 10, 11, 12};
    list.append(more, more + 3);
    model.insert(model.end(), more, more + 3);
    same("three appended, inline");
    list.append(more + 3, more + 6);
    model.insert(model.end(), more + 3, more + 6);
    same("six, past the inline four");
    list.resize(9);
    model.resize(9);
    same("grown by resize: zeros");
    list[8] = 42;
    model[8] = 42;
    list.resize(2);
    model.resize(2);
    same("shrunk");
    list.resize(5);
    model.resize(5);
    same("grown again within the capacity: zeros, not the old entries");
    SerialNumbers copy(list);
    list[0] = -1;
    EXPECT_EQ(copy[0], 7) << "a copy owns its entries";
    SerialNumbers small{1, 2};
    small = copy;
    EXPECT_TRUE(small == model) << "assigned a long list to a short one";
    copy = SerialNumbers{3};
    EXPECT_TRUE(copy == std::vector<int>{3}) << "assigned a short list to a long one";
    const SerialNumbers &itself = copy;
    copy = itself;
    EXPECT_TRUE(copy == std::vector<int>{3}) << "assigned to itself";
}

// Names are made in a buffer of their own: long bus names, long joined names
// and many-digit bit numbers come out whole.
TEST(Signals, LongNamesAndManyDigitBitsAreNamedWhole) {
    freshNetlist();
    const std::string longName(150, 'n'), otherName(90, 'o');
    const Signal wide(100001, "w"), a(2, longName.c_str()), b(1, otherName.c_str());
    EXPECT_EQ(wide[100000].nameTag, "w[100000]");
    EXPECT_EQ(a[1].nameTag, longName + "[1]");
    EXPECT_EQ(describeWire(wide.serialNumber[0] + 100001), longName + "[0]:UNINITIALIZED:0");
    EXPECT_EQ((a, b).nameTag, longName + "," + otherName);
    EXPECT_EQ((b, wide[3]).nameTag, otherName + ",w[3]");
    const Signal many = (a, b, a, b, a);
    EXPECT_EQ(many.length, 8);
    EXPECT_EQ(relative(many, a.serialNumber[0]), (std::vector<int>{0, 1, 2, 0, 1, 2, 0, 1}));
}
