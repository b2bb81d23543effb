// Netlist capture: schematic descriptors, component registration, key
// bindings and the deferred stop for counted capture errors.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/Ph1.h"
#include "core/Schmtc.h"
#include "core/addStCmp.h"
#include "support/Fresh.h"

namespace {

const char *orNull(const char *s) {
    return s ? s : "(null)";
}

TEST(Descriptor, TopLevelCopiesItsStrings) {
    char position[] = "aa", label[] = "L";
    const SD sd(position, label);
    position[0] = label[0] = '#';
    EXPECT_EQ(sd.graphicLevel, 1);
    EXPECT_STREQ(sd.graphicPosition, "aa");
    EXPECT_STREQ(sd.decal, "L");
    EXPECT_EQ(SD("bb", nullptr).decal, nullptr);
}

TEST(Descriptor, NestingJoinsPositionsAndLabels) {
    const struct {
        const char *parentDecal, *childDecal, *expectedDecal;
    } cases[] = {{"X", "Y", "XY"}, {"X", nullptr, "X"}, {nullptr, "Y", "Y"}, {nullptr, nullptr, nullptr}};
    for (const auto &k : cases) {
        const SD parent("aa", k.parentDecal);
        const SD child(parent, "ab-cd", k.childDecal);
        EXPECT_EQ(child.graphicLevel, 2);
        EXPECT_STREQ(child.graphicPosition, "aa.ab-cd");
        EXPECT_STREQ(orNull(child.decal), orNull(k.expectedDecal))
            << orNull(k.parentDecal) << " + " << orNull(k.childDecal);
        const SD grandchild(child, "c", "Z");
        EXPECT_EQ(grandchild.graphicLevel, 3);
        EXPECT_STREQ(grandchild.graphicPosition, "aa.ab-cd.c");
    }
}

TEST(Descriptor, TheDecalDefaultsToNone) {
    const SD top("aa");
    EXPECT_EQ(top.graphicLevel, 1);
    EXPECT_EQ(top.decal, nullptr);
    const SD child(SD("bb", "P"), "c");
    EXPECT_STREQ(child.graphicPosition, "bb.c");
    EXPECT_STREQ(child.decal, "P") << "the parent's label alone";
}

TEST(Descriptor, CommaReplacesTheLabelOnly) {
    const SD parent("aa", "P");
    const SD child(parent, "b", "C");
    const SD relabelled = (child, "New");
    EXPECT_EQ(relabelled.graphicLevel, 2);
    EXPECT_STREQ(relabelled.graphicPosition, "aa.b");
    EXPECT_STREQ(relabelled.decal, "New");
    EXPECT_STREQ(child.decal, "PC") << "the original keeps its label";
    EXPECT_EQ((child, nullptr).decal, nullptr);
}

TEST(Descriptor, CopiesOwnTheirStrings) {
    SD original("aa", "L");
    SD copy(original);
    SD assigned;
    assigned = original;
    original = SD("zz", nullptr);
    for (const SD *sd : {&copy, &assigned}) {
        EXPECT_EQ(sd->graphicLevel, 1);
        EXPECT_STREQ(sd->graphicPosition, "aa");
        EXPECT_STREQ(sd->decal, "L");
    }
    EXPECT_EQ(original.decal, nullptr);
}

void evaluateA(int) {}
void evaluateB(int) {}
void drawPanes(int) {}
void keyPressed(int) {}
const int iconA[] = {1, 2, 3};

// A component evaluated by evaluateA, drawn with iconA, on the given buses.
StandardComponent shownA(const char *decal, const Signal &data, const Signal &control, const Signal &out) {
    return componentOn(decal, iconA, evaluateA, data, control, out);
}

// The node of the component with index cind.
const ComponentNode &component(int cind) {
    const ComponentNode *n = phaseOne->componentList.start;
    while (n && n->componentIndex != cind)
        n = n->ptr;
    EXPECT_NE(n, nullptr) << "no component " << cind;
    return *n;
}

TEST(Capture, DescriptorLabelOverridesTheDefault) {
    const struct {
        const char *sdDecal, *defaultDecal, *expected;
    } cases[] = {{"Mine", "AND", "Mine"}, {nullptr, "AND", "AND"}};
    for (const auto &k : cases) {
        freshNetlist();
        const Signal a(1, "a"), none(0, "none"), y(1, "y");
        addStandardComponent(shownA(k.defaultDecal, a, none, y), SD("ab", k.sdDecal));
        EXPECT_EQ(component(0).decal, k.expected);
    }
}

TEST(Capture, PinsAreStoredInBusOrder) {
    freshNetlist();
    const Signal d(3, "d"), none(0, "none"), y(2, "y");
    addStandardComponent(shownA("G", d, none, y), SD(SD("aa", nullptr), "bc", nullptr));
    const ComponentNode &c = component(0);
    EXPECT_EQ(c.logicEvaluate, &evaluateA);
    EXPECT_EQ(c.iconArray, iconA);
    EXPECT_EQ(c.graphicLevel, 2);
    EXPECT_EQ(c.graphicPosition, "aa.bc");
    EXPECT_EQ(c.numberOfDataInputs, 3);
    EXPECT_EQ(c.dataInputs, (std::vector<int>{2, 3, 4}));
    EXPECT_EQ(c.numberOfControlInputs, 0);
    EXPECT_TRUE(c.controlInputs.empty());
    EXPECT_EQ(c.numberOfOutputs, 2);
    EXPECT_EQ(c.outputs, (std::vector<int>{5, 6}));
    const bool nothingElse = !c.drawDynamic && !c.xEventTriggered && !c.heapQueueEventTriggered &&
                             !c.secondaryEvaluate.s && !c.outputOverloadable && !c.selfActivating &&
                             c.numberOfIntegerParameters == 0 && c.numberOfByteParameters == 0 &&
                             c.numberOfInternal32BitVariables == 0 && c.numberOfInternal16BitVariables == 0 &&
                             c.numberOfInternal8BitVariables == 0;
    EXPECT_TRUE(nothingElse);
}

TEST(Capture, FullFormCopiesEverything) {
    freshNetlist();
    const Signal d(2, "d"), ctl(1, "ctl"), q(4, "q");
    int integers[] = {7, 8};
    unsigned char bytes[] = {0xAB, 0xCD, 0xEF};
    const Signal swapped = (d[1], d[0]);
    StandardComponent x = shownA("REG", swapped, ctl, q);
    x.evaluate = evaluateB;
    x.draw = drawPanes;
    x.key = keyPressed;
    x.heapQueueEventTriggered = evaluateA;
    x.outputOverloadable = 1;
    x.selfActivating = 1;
    x.integerParameters = integers;
    x.byteParameters = bytes;
    x.numberOfInternal32BitVariables = 4;
    x.numberOfInternal16BitVariables = 5;
    x.numberOfInternal8BitVariables = 6;
    addStandardComponent(x, SD("zz", nullptr));
    integers[0] = bytes[0] = 0; // the node keeps its own copies
    const ComponentNode &c = component(0);
    EXPECT_EQ(c.logicEvaluate, &evaluateB);
    EXPECT_EQ(c.drawDynamic, &drawPanes);
    EXPECT_EQ(c.xEventTriggered, &keyPressed);
    EXPECT_EQ(c.heapQueueEventTriggered, &evaluateA);
    EXPECT_EQ(c.outputOverloadable, 1);
    EXPECT_EQ(c.selfActivating, 1);
    EXPECT_EQ(c.decal, "REG");
    EXPECT_EQ(c.dataInputs, (std::vector<int>{2, 3}));
    EXPECT_EQ(c.controlInputs, std::vector<int>{4});
    EXPECT_EQ(c.outputs, (std::vector<int>{5, 6, 7, 8}));
    EXPECT_EQ(c.numberOfIntegerParameters, 2);
    EXPECT_EQ(c.integerParameters, (std::vector<int>{7, 8}));
    EXPECT_EQ(c.numberOfByteParameters, 3);
    EXPECT_EQ(c.byteParameters, (std::vector<unsigned char>{0xAB, 0xCD, 0xEF}));
    EXPECT_EQ(c.numberOfInternal32BitVariables, 4);
    EXPECT_EQ(c.numberOfInternal16BitVariables, 5);
    EXPECT_EQ(c.numberOfInternal8BitVariables, 6);
}

// The named form: each field set alone reaches its own part of the node and
// nothing else, which keeps the default of every other field.
TEST(Capture, NamedFormSetsOnlyWhatItNames) {
    const int integers[] = {7, 8};
    const unsigned char bytes[] = {0xAB};
    struct Case {
        const char *field;
        void (*set)(StandardComponent &, const Signal &, const Signal &, const Signal &);
        std::string expected; // the node as described below
    };
    // Describes the parts of a node that differ from an unnamed registration.
    auto describe = [](const ComponentNode &n) {
        std::string text;
        auto add = [&text](bool differs, const std::string &what) {
            if (differs)
                text += what + ";";
        };
        add(n.decal != "", "decal=" + std::string(n.decal));
        add(n.iconArray, "icon");
        add(n.logicEvaluate, "evaluate");
        add(n.drawDynamic, "draw");
        add(n.xEventTriggered, "key");
        add(n.heapQueueEventTriggered, "heap");
        add(n.outputOverloadable, "overloadable");
        add(n.selfActivating, "self");
        add(n.numberOfDataInputs != 0, "data=" + std::to_string(n.dataInputs.size()));
        add(n.numberOfControlInputs != 0, "control=" + std::to_string(n.controlInputs.size()));
        add(n.numberOfOutputs != 0, "out=" + std::to_string(n.outputs.size()));
        add(n.numberOfIntegerParameters != 0, "integers=" + std::to_string(n.integerParameters.size()));
        add(n.numberOfByteParameters != 0, "bytes=" + std::to_string(n.byteParameters.size()));
        add(n.numberOfInternal32BitVariables, "w32");
        add(n.numberOfInternal16BitVariables, "w16");
        add(n.numberOfInternal8BitVariables, "w8");
        return text;
    };
    static const int *iconOfA = iconA;
    static const int *integerValues = integers;
    static const unsigned char *byteValues = bytes;
    const Case cases[] = {
        {"nothing", [](StandardComponent &, const Signal &, const Signal &, const Signal &) {}, ""},
        {"decal", [](StandardComponent &x, const Signal &, const Signal &, const Signal &) { x.decal = "R"; },
         "decal=R;"},
        {"icon",
         [](StandardComponent &x, const Signal &, const Signal &, const Signal &) { x.icon = iconOfA; },
         "icon;"},
        {"evaluate",
         [](StandardComponent &x, const Signal &, const Signal &, const Signal &) { x.evaluate = evaluateA; },
         "evaluate;"},
        {"draw",
         [](StandardComponent &x, const Signal &, const Signal &, const Signal &) { x.draw = drawPanes; },
         "draw;"},
        {"key",
         [](StandardComponent &x, const Signal &, const Signal &, const Signal &) { x.key = keyPressed; },
         "key;"},
        {"overloadable",
         [](StandardComponent &x, const Signal &, const Signal &, const Signal &) {
             x.outputOverloadable = 1;
         },
         "overloadable;"},
        {"self",
         [](StandardComponent &x, const Signal &, const Signal &, const Signal &) { x.selfActivating = 1; },
         "self;"},
        {"data", [](StandardComponent &x, const Signal &d, const Signal &, const Signal &) { x.dataIn = &d; },
         "data=2;"},
        {"control",
         [](StandardComponent &x, const Signal &, const Signal &c, const Signal &) { x.controlIn = &c; },
         "control=1;"},
        {"out", [](StandardComponent &x, const Signal &, const Signal &, const Signal &q) { x.out = &q; },
         "out=3;"},
        {"integers",
         [](StandardComponent &x, const Signal &, const Signal &, const Signal &) {
             x.integerParameters = ValueSpan<int>(integerValues, 2);
         },
         "integers=2;"},
        {"bytes",
         [](StandardComponent &x, const Signal &, const Signal &, const Signal &) {
             x.byteParameters = ValueSpan<unsigned char>(byteValues, 1);
         },
         "bytes=1;"},
        {"state",
         [](StandardComponent &x, const Signal &, const Signal &, const Signal &) {
             x.numberOfInternal16BitVariables = 3;
         },
         "w16;"},
    };
    for (const Case &k : cases) {
        freshNetlist();
        const Signal data(2, "d"), control(1, "c"), out(3, "q");
        StandardComponent x;
        k.set(x, data, control, out);
        addStandardComponent(x, SD("ab"));
        EXPECT_EQ(describe(component(0)), k.expected) << k.field;
        EXPECT_EQ(component(0).graphicPosition, "ab") << k.field;
    }
}

TEST(Capture, NamedFormKeepsItsOwnCopies) {
    freshNetlist();
    const Signal d(2, "d"), q(1, "q");
    int integers[] = {7, 8, 9};
    StandardComponent x;
    x.dataIn = &d;
    x.out = &q;
    x.integerParameters = integers; // the whole array
    addStandardComponent(x, SD("ab", "Mine"));
    integers[0] = 0;
    const ComponentNode &n = component(0);
    EXPECT_EQ(n.decal, "Mine") << "the descriptor's label wins over the default";
    EXPECT_EQ(n.dataInputs, (std::vector<int>{2, 3}));
    EXPECT_EQ(n.outputs, (std::vector<int>{4}));
    EXPECT_EQ(n.integerParameters, (std::vector<int>{7, 8, 9}));
}

TEST(Capture, ParameterCountsBelowOneGiveNoArray) {
    freshNetlist();
    const int integers[] = {1, 2};
    const unsigned char bytes[] = {3};
    StandardComponent x = shownA("P", Zero, Zero, One);
    x.integerParameters = ValueSpan<int>(integers, 0);
    x.byteParameters = ValueSpan<unsigned char>(bytes, -1);
    addStandardComponent(x, SD("a", nullptr));
    EXPECT_TRUE(component(0).integerParameters.empty());
    EXPECT_TRUE(component(0).byteParameters.empty());
}

TEST(Capture, IconsAreLeftOutWhileInvisible) {
    freshNetlist();
    const Signal y(1, "y");
    for (int visible : {1, 0, 1}) {
        visibleFlag = visible;
        StandardComponent x = shownA("V", Zero, Zero, y);
        x.draw = drawPanes;
        addStandardComponent(x, SD("a", nullptr));
    }
    visibleFlag = 1;
    const struct {
        int cind;
        const int *icon;
    } cases[] = {{0, iconA}, {1, nullptr}, {2, iconA}};
    for (const auto &k : cases) {
        EXPECT_EQ(component(k.cind).iconArray, k.icon) << k.cind;
        EXPECT_EQ(component(k.cind).drawDynamic, &drawPanes) << "panes are still drawn";
    }
}

TEST(Capture, ComponentsAreNumberedInCaptureOrderAndKeysBindToTheNext) {
    freshNetlist();
    const Signal s(3, "s");
    const struct {
        char key; // 0: an ordinary component without a key
        int bit;
    } plan[] = {{0, 0}, {'a', 0}, {0, 0}, {'b', 1}, {'c', 2}};
    for (const auto &p : plan) {
        if (p.key)
            phaseOne->switchList.add(s.serialNumber[p.bit], p.key);
        addStandardComponent(shownA("C", Zero, Zero, s[p.bit]), SD("a", nullptr));
    }
    EXPECT_EQ(phaseOne->componentList.numberOfComponents, 5);
    int expectedIndex = 0;
    for (const ComponentNode *n = phaseOne->componentList.start; n; n = n->ptr)
        EXPECT_EQ(n->componentIndex, expectedIndex++);
    EXPECT_EQ(phaseOne->componentList.end->componentIndex, 4);

    const struct {
        char key;
        int component, serial;
    } bindings[] = {{'a', 1, 2}, {'b', 3, 3}, {'c', 4, 4}};
    ASSERT_EQ(phaseOne->switchList.numberOfSwitches, 3);
    const SwitchNode *n = phaseOne->switchList.start;
    for (const auto &b : bindings) {
        ASSERT_NE(n, nullptr);
        EXPECT_EQ(n->keyChar, b.key);
        EXPECT_EQ(n->componentNumber, b.component);
        EXPECT_EQ(n->signalSerialNumber, b.serial);
        n = n->ptr;
    }
    EXPECT_EQ(n, nullptr);
}

TEST(Capture, ListPrintShowsIndexAndLabel) {
    freshNetlist();
    addStandardComponent(shownA("AND", Zero, Zero, One), SD("a", nullptr));
    addStandardComponent(shownA("OR", Zero, Zero, One), SD("b", "Mine"));
    testing::internal::CaptureStderr();
    phaseOne->componentList.print();
    phaseOne->switchList.print();
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "  componentIndex = 0 decal = AND\n  componentIndex = 1 decal = Mine\n");
}

TEST(Capture, DeletingTheCaptureWritesTheTwoCounts) {
    freshNetlist();
    const Signal s(5, "s");
    addStandardComponent(shownA("C", s, Zero, s[0]), SD("a", nullptr));
    addStandardComponent(shownA("C", s, Zero, s[1]), SD("b", nullptr));
    testing::internal::CaptureStderr();
    delete phaseOne;
    phaseOne = nullptr;
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "There are 2 components.\nThere are 7 signals.\n");
}

TEST(CaptureDeath, CountedErrorsStopAfterTheWholeCapture) {
    freshNetlist();
    addStandardComponent(shownA("C", Zero, Zero, One), SD("a", nullptr));
    ++phaseOne->fatalDiagnosticCount;
    ++phaseOne->fatalDiagnosticCount;
    EXPECT_EXIT(delete phaseOne, ::testing::ExitedWithCode(1),
                "^2 Fatal Diagnostic\\(s\\)--Can't Continue\\.\n$");
}

} // namespace
