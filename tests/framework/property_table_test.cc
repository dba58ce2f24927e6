// The property table: creation codes, byte-wise order, refresh walks.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/action.h"
#include "framework/property_table.h"

namespace {

// Records which properties were refreshed and fails on a chosen one.
struct Recorder {
  std::vector<std::string> refreshed;
  std::string failOn;
  int Handle(MM::PropertyBase* property, MM::ActionKind kind) {
    if (kind != MM::ActionKind::Refresh) return 0;
    refreshed.push_back(property->GetName());
    return property->GetName() == failOn ? 14 : 0;
  }
};

MM::ActionFunctor* Bind(Recorder& recorder) {
  return new MM::Action<Recorder>(&recorder, &Recorder::Handle);
}

TEST(PropertyTableTest, CreationCodesAndInitialValues) {
  MM::PropertyTable table;
  EXPECT_EQ(table.CreateProperty("TransposeXY", "1", MM::PropertyKind::Integer, false, nullptr, false), 0);
  EXPECT_EQ(table.CreateProperty("TransposeXY", "0", MM::PropertyKind::Integer, false, nullptr, false), 4);
  EXPECT_EQ(table.CreateProperty("K0", "0", static_cast<MM::PropertyKind>(0), false, nullptr, false), 5);
  EXPECT_EQ(table.CreateProperty("K4", "0", static_cast<MM::PropertyKind>(4), false, nullptr, false), 5);
  EXPECT_EQ(table.CreateProperty("F", "1.23456", MM::PropertyKind::Float, true, nullptr, true), 0);
  EXPECT_EQ(table.Count(), 2u);

  std::string text;
  EXPECT_EQ(table.GetPropertyText("TransposeXY", text), 0);
  EXPECT_EQ(text, "1");  // the first creation stands
  EXPECT_EQ(table.GetPropertyText("F", text), 0);
  EXPECT_EQ(text, "1.2346");
  EXPECT_TRUE(table.Find("F")->IsReadOnly());
  EXPECT_TRUE(table.Find("F")->IsPreInit());
  EXPECT_EQ(table.Find("K0"), nullptr);
  EXPECT_EQ(table.GetPropertyText("missing", text), 2);
  EXPECT_EQ(table.RefreshProperty("missing"), 2);
  EXPECT_EQ(table.SetAllowedValues("missing", {"0"}), 2);
}

TEST(PropertyTableTest, NamesEnumerateByteWise) {
  MM::PropertyTable table;
  for (const char* name : {"b", "B", "ab", "a", "a b"})
    table.CreateProperty(name, "", MM::PropertyKind::String, false, nullptr, false);
  std::vector<std::string> names;
  std::string name;
  for (unsigned i = 0; table.NameAt(i, name); ++i) names.push_back(name);
  EXPECT_EQ(names, (std::vector<std::string>{"B", "a", "a b", "ab", "b"}));
}

TEST(PropertyTableTest, RefreshAllStopsAtTheFirstFailure) {
  MM::PropertyTable table;
  Recorder recorder;
  recorder.failOn = "B";
  for (const char* name : {"C", "A", "B", "D"})
    table.CreateProperty(name, "", MM::PropertyKind::String, false, Bind(recorder), false);
  table.CreateProperty("AA", "", MM::PropertyKind::String, false, nullptr, false);
  EXPECT_EQ(table.RefreshAllProperties(), 14);
  EXPECT_EQ(recorder.refreshed, (std::vector<std::string>{"A", "B"}));
}

TEST(PropertyTableTest, ReadRunsRefreshAndAFailureLeavesTheOutputAlone) {
  MM::PropertyTable table;
  Recorder recorder;
  recorder.failOn = "Bad";
  table.CreateProperty("Bad", "v", MM::PropertyKind::String, false, Bind(recorder), false);
  table.CreateProperty("Good", "v", MM::PropertyKind::String, false, Bind(recorder), false);
  std::string out = "untouched";
  EXPECT_EQ(table.GetPropertyText("Bad", out), 14);
  EXPECT_EQ(out, "untouched");
  EXPECT_EQ(table.GetPropertyText("Good", out), 0);
  EXPECT_EQ(out, "v");
  EXPECT_EQ(table.RefreshProperty("Bad"), 14);
  EXPECT_EQ(recorder.refreshed.size(), 3u);
}

}  // namespace
