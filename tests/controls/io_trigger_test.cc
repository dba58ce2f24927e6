// The "IO:" family: request codes, line addressing through "IO:Line Select",
// the line-select refresh and the GPIO direction rules.
#include "tests/controls/controls_fixture.h"

namespace {

class Io : public ControlsTest {
 protected:
  int IoValue(unsigned line, unsigned request) {
    return State([=](RecordingSdkCamera::State& s) { return s.io[{line, request}]; });
  }
  void SetIo(unsigned line, unsigned request, int value) {
    State([=](RecordingSdkCamera::State& s) { return s.io[{line, request}] = value; });
  }
  // The I/O reads of the log, "GetIo(line,request)".
  Lines IoReads() {
    Lines reads;
    for (const std::string& line : Sdk().Log()) {
      if (line.rfind("GetIo(", 0) == 0) reads.push_back(line);
    }
    return reads;
  }
};

struct IoWrite {
  const char* select;  // "IO:Line Select" text first
  const char* property;
  const char* value;
  const char* sent;
};
class IoWrites : public Io, public ::testing::WithParamInterface<IoWrite> {};

TEST_P(IoWrites, ReachTheirLineWithTheirRequest) {
  const IoWrite& w = GetParam();
  Start();
  ASSERT_EQ(Write("IO:Line Select", w.select), 0);
  Sdk().ClearLog();
  EXPECT_EQ(Write(w.property, w.value), 0);
  EXPECT_EQ(Sdk().Writes(), Lines{w.sent}) << w.property;
}

INSTANTIATE_TEST_SUITE_P(
    Requests, IoWrites,
    ::testing::Values(
        IoWrite{"GPIO0", "IO:Input Activation", "Falling edge", "IoControl(2,10,1)"},
        IoWrite{"GPIO1", "IO:Output Inverter", "No", "IoControl(3,8,1)"},
        IoWrite{"Isolated output", "IO:Output Mode", "Strobe", "IoControl(1,32,2)"},
        IoWrite{"GPIO0", "IO:Counter Source", "GPIO1", "IoControl(2,20,2)"},
        IoWrite{"GPIO0", "IO:PWM Source", "GPIO0", "IoControl(2,30,1)"},
        IoWrite{"GPIO0", "IO:Debouncer Time", "250", "IoControl(2,12,250)"},
        IoWrite{"GPIO0", "IO:Trigger Delay", "1000", "IoControl(2,16,1000)"},
        // Line-0 settings, whatever line is selected.
        IoWrite{"GPIO1", "IO:Strobe Delay Mode", "delay", "IoControl(0,34,1)"},
        IoWrite{"GPIO1", "IO:Strobe Delay Time", "77", "IoControl(0,36,77)"},
        IoWrite{"GPIO1", "IO:Strobe Duration", "88", "IoControl(0,38,88)"},
        IoWrite{"GPIO1", "IO:User Value", "100", "IoControl(0,40,100)"},
        IoWrite{"GPIO1", "IO:Counter Value", "9", "IoControl(0,22,9)"},
        IoWrite{"GPIO1", "IO:Counter Reset", "Reset", "IoControl(0,24,0)"},
        IoWrite{"GPIO1", "IO:Trigger Source", "Software Trigger", "IoControl(0,14,5)"}));

TEST_F(Io, TriggerSourceSetsTheIndexButNotTheMode) {
  Start();
  const int mode = Option(11);
  EXPECT_EQ(Write("IO:Trigger Source", "GPIO1"), 0);
  EXPECT_EQ(camera->triggerSourceIndex.load(), 2);
  EXPECT_EQ(Option(11), mode);
  SetIo(0, 13, 4);
  EXPECT_EQ(Read("IO:Trigger Source"), "PWM");
  EXPECT_EQ(camera->TriggerSourceIndex(), 4);
}

TEST_F(Io, LineSelectRefreshesTheElevenPropertiesFromTheNewLineSilently) {
  Start();
  SetIo(1, 9, 3);     // input activation of line 1
  SetIo(1, 31, 5);    // output mode
  SetIo(1, 11, 123);  // debouncer
  Sdk().ClearLog();
  host.Clear();
  EXPECT_EQ(Write("IO:Line Select", "Isolated output"), 0);
  // Each per-line property re-reads line 1, in the listed order; the
  // line-0 strobe settings and the user value read line 0.
  EXPECT_EQ(IoReads(), (Lines{"GetIo(1,1)", "GetIo(1,3)", "GetIo(1,9)", "GetIo(1,11)",
                              "GetIo(1,15)", "GetIo(1,7)", "GetIo(1,31)", "GetIo(0,33)",
                              "GetIo(0,35)", "GetIo(0,37)", "GetIo(0,39)"}));
  EXPECT_EQ(host.Changes("IO:"), Lines{});
  EXPECT_EQ(Read("IO:Input Activation"), "Low level");
  EXPECT_EQ(Read("IO:Output Mode"), "Timer Output");
  EXPECT_EQ(Read("IO:Debouncer Time"), "123");
}

TEST_F(Io, ListReadsShowNothingNewForFailedOrOutOfListAnswers) {
  Start();
  SetIo(0, 7, 0);
  EXPECT_EQ(Read("IO:Output Inverter"), "Yes");
  SetIo(0, 7, 9);  // past the list
  EXPECT_EQ(Read("IO:Output Inverter"), "Yes");
  SetIo(0, 31, 2);
  State([](RecordingSdkCamera::State& s) { return s.failingIoReads.insert(31).second; });
  EXPECT_EQ(Read("IO:Output Mode"), "Frame Trigger Wait");
  SetIo(0, 35, 42);
  State([](RecordingSdkCamera::State& s) { return s.failingIoReads.insert(35).second; });
  EXPECT_EQ(Read("IO:Strobe Delay Time"), "0");
}

struct GpioCase {
  int directions;
  const char* shown;
  bool switchable;
};
class GpioModes : public Io, public ::testing::WithParamInterface<GpioCase> {};

TEST_P(GpioModes, OnlyLinesWithBothDirectionsSwitch) {
  const GpioCase& c = GetParam();
  Start();
  Write("IO:Line Select", "GPIO0");
  SetIo(2, 1, c.directions);
  SetIo(2, 3, 0);
  EXPECT_EQ(Read("IO:GPIO Mode"), c.shown);
  Sdk().ClearLog();
  EXPECT_EQ(Write("IO:GPIO Mode", "Output"), 0);
  EXPECT_EQ(Sdk().Writes(), c.switchable ? Lines{"IoControl(2,4,1)"} : Lines{});
}

INSTANTIATE_TEST_SUITE_P(Directions, GpioModes,
                         ::testing::Values(GpioCase{1, "Input", false},
                                           GpioCase{2, "Output", false},
                                           GpioCase{3, "Input", true}));

TEST_F(Io, GpioDirectionReadsBackAfterASwitch) {
  Start();
  Write("IO:Line Select", "GPIO1");
  Write("IO:GPIO Mode", "Output");
  EXPECT_EQ(IoValue(3, 3), 1);
  EXPECT_EQ(Read("IO:GPIO Mode"), "Output");
}

TEST_F(Io, CounterResetAlwaysReadsReset) {
  Start();
  EXPECT_EQ(Read("IO:Counter Reset"), "Reset");
  EXPECT_EQ(Write("IO:Counter Reset", "Reset"), 0);
  EXPECT_EQ(Read("IO:Counter Reset"), "Reset");
}

TEST_F(Io, ModelsWithoutLinesHaveNoIoProperties) {
  sdk.model.ioLineCount = 0;
  Start();
  for (unsigned i = 0; i < camera->PropertyCount(); ++i) {
    char name[HostStringLimit] = {};
    camera->PropertyNameAt(i, name);
    EXPECT_NE(std::string(name).rfind("IO:", 0), 0u) << name;
  }
}

TEST_F(Io, ThreeLineModelsOfferNoSecondGpio) {
  sdk.model.ioLineCount = 3;
  Start();
  EXPECT_EQ(Write("IO:Line Select", "GPIO1"), 3);
  EXPECT_EQ(Write("IO:Line Select", "GPIO0"), 0);
}

}  // namespace
