// Flat-field, dark-field and fixed-pattern-noise corrections, dynamic defect
// thresholds and the HDR combination parameters.
#include "tests/controls/controls_fixture.h"

namespace {

class Corrections : public ControlsTest {
 protected:
  void SetNamed(const char* name, int value) {
    State([=](RecordingSdkCamera::State& s) { return s.named[name] = value; });
  }
};

struct StatusCase {
  int word;
  const char* shown;
};
class StatusWords : public Corrections, public ::testing::WithParamInterface<StatusCase> {};

TEST_P(StatusWords, ShowStateAndProgress) {
  Start();
  for (const char* family : {"FFCStatus", "DFCStatus", "FPNCStatus"}) {
    SetNamed(family, GetParam().word);
    EXPECT_EQ(Read(family), GetParam().shown) << family;
  }
}

INSTANTIATE_TEST_SUITE_P(Words, StatusWords,
                         ::testing::Values(StatusCase{1 | (3 << 8) | (10 << 16), "Eanble; 3/10"},
                                           StatusCase{2 | (3 << 8) | (10 << 16), "Inited; 3/10"},
                                           StatusCase{2, "Inited"}, StatusCase{1, "Eanble"},
                                           StatusCase{7, "NA"},
                                           StatusCase{2 | (5 << 8), "Inited"}));

TEST_F(Corrections, UnreadableStatusKeepsTheText) {
  Start();
  SetNamed("FFCStatus", 2);
  EXPECT_EQ(Read("FFCStatus"), "Inited");
  State([](RecordingSdkCamera::State& s) { return s.named.erase("FFCStatus"); });
  EXPECT_EQ(Read("FFCStatus"), "Inited");
}

TEST_F(Corrections, EnableSwitchesByName) {
  Start();
  EXPECT_EQ(Write("FFCEnable", "ON"), 0);
  EXPECT_EQ(Write("FPNCEnable", "ON"), 0);
  EXPECT_EQ(Write("DFCEnable", "OFF"), 0);
  EXPECT_EQ(Sdk().Writes(), (Lines{"SetNamedValue(FFCEnable,1)", "SetNamedValue(FPNCEnable,1)",
                                   "SetNamedValue(DFCEnable,0)"}));
  EXPECT_EQ(Read("FFCEnable"), "ON");
}

TEST_F(Corrections, InitButtonsSendTheFrameCountUnderTheSdkName) {
  Start();
  EXPECT_EQ(Write("DFCNumber", "8"), 0);
  EXPECT_EQ(Write("DFCInit", "Click"), 0);
  EXPECT_EQ(Write("DFCInit", "-----"), 0);
  EXPECT_EQ(Write("FPNCCInit", "Click"), 0);  // property "FPNCCInit", SDK name "FPNCInit"
  EXPECT_EQ(Write("FFCNumber", "12"), 0);
  EXPECT_EQ(Write("FFCInit", "Click"), 0);
  EXPECT_EQ(Sdk().Writes(), (Lines{"SetNamedValue(DFCInit,8)", "SetNamedValue(DFCInit,8)",
                                   "SetNamedValue(FPNCInit,5)", "SetNamedValue(FFCInit,12)"}));
  EXPECT_EQ(Read("DFCInit"), "-----");
  EXPECT_EQ(Read("FPNCCInit"), "-----");
}

TEST_F(Corrections, DefectThresholdsReplaceOneHalf) {
  Start();
  EXPECT_EQ(Read("DynamicDefect:Hot"), "0.9000");
  EXPECT_EQ(Write("DynamicDefect:Dead", "0.5"), 0);
  EXPECT_EQ(Option(86), (50 << 16) | 90);
  EXPECT_EQ(Write("DynamicDefect:Hot", "0.25"), 0);
  EXPECT_EQ(Option(86), (50 << 16) | 25);
  EXPECT_EQ(Read("DynamicDefect:Dead"), "0.5000");
}

TEST_F(Corrections, HdrKAndBShareOption87) {
  Start();
  SetOption(87, (100 << 16) | 16);
  EXPECT_EQ(Write("HDR:K", "200"), 0);
  EXPECT_EQ(Option(87), (200 << 16) | 16);
  EXPECT_EQ(Read("HDR:B"), "16");
  EXPECT_EQ(Write("HDR:B", "65535"), 0);
  EXPECT_EQ(Read("HDR:K"), "200");
  EXPECT_EQ(Read("HDR:B"), "65535");
  EXPECT_EQ(Write("HDR:Threshold", "4000"), 0);
  EXPECT_EQ(Option(88), 4000);
}

// The status monitor republishes the three statuses about once a second, so
// a correction's progress reaches the host without a read.
TEST_F(Corrections, StatusMonitorPublishesProgress) {
  Start();
  SetNamed("DFCStatus", 2 | (4 << 8) | (8 << 16));
  for (int i = 0; i < 40 && host.Changes("DFCStatus").empty(); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  ASSERT_FALSE(host.Changes("DFCStatus").empty());
  EXPECT_EQ(host.Changes("DFCStatus").back(), "DFCStatus=Inited; 4/8");
}

}  // namespace
