// The device base seen from the host: codes, recorded names, error texts,
// host buffers, creation helpers and the camera tag store.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "recording_host.h"
#include "test_camera.h"

namespace {

class DeviceBaseTest : public ::testing::Test {
 protected:
  void SetUp() override { camera.SetCallback(&host); }

  std::string Error(int code, bool* known = nullptr) {
    char text[HostStringLimit];
    bool result = camera.ErrorText(code, text);
    if (known) *known = result;
    return text;
  }
  std::string Read(const char* name) {
    char text[HostStringLimit] = "unset";
    EXPECT_EQ(camera.ReadProperty(name, text), 0) << name;
    return text;
  }

  RecordingHost host;
  TestCamera camera;
};

// Counts its own destruction, so ownership mistakes show up as counts.
struct CountedAction : MM::ActionFunctor {
  explicit CountedAction(int& deaths) : deaths(deaths) {}
  ~CountedAction() override { ++deaths; }
  int Execute(MM::PropertyBase*, MM::ActionKind) override { return 0; }
  int& deaths;
};

TEST_F(DeviceBaseTest, CameraBaseStartsWithTheFourTransposeProperties) {
  EXPECT_EQ(camera.PropertyCount(), 4u);
  char name[HostStringLimit];
  const char* expected[] = {"TransposeCorrection", "TransposeMirrorX", "TransposeMirrorY", "TransposeXY"};
  for (unsigned i = 0; i < 4; ++i) {
    ASSERT_TRUE(camera.PropertyNameAt(i, name));
    EXPECT_STREQ(name, expected[i]);
    EXPECT_EQ(Read(name), "0");
  }
  EXPECT_FALSE(camera.PropertyNameAt(4, name));
  char value[HostStringLimit];
  EXPECT_EQ(camera.AllowedValueCount("TransposeMirrorX"), 2u);
  EXPECT_TRUE(camera.AllowedValueAt("TransposeMirrorX", 0, value));
  EXPECT_STREQ(value, "0");
  EXPECT_TRUE(camera.AllowedValueAt("TransposeMirrorX", 1, value));
  EXPECT_STREQ(value, "1");
  EXPECT_FALSE(camera.AllowedValueAt("TransposeMirrorX", 2, value));
  EXPECT_FALSE(camera.AllowedValueAt("missing", 0, value));
  EXPECT_EQ(camera.AllowedValueCount("missing"), 0u);
  int kind = 0;
  EXPECT_EQ(camera.PropertyKindOf("TransposeXY", kind), 0);
  EXPECT_EQ(kind, 3);
}

TEST_F(DeviceBaseTest, WritesAreCheckedAgainstAllowedValuesAsExactTexts) {
  for (const char* refused : {"2", "1.0", "01", ""}) {
    EXPECT_EQ(camera.WriteProperty("TransposeXY", refused), 3) << refused;
    EXPECT_EQ(Read("TransposeXY"), "0");
  }
  EXPECT_EQ(camera.WriteProperty("TransposeXY", "1"), 0);
  EXPECT_EQ(Read("TransposeXY"), "1");
}

TEST_F(DeviceBaseTest, ErrorTextAppendsAndClearsTheLastPropertyName) {
  EXPECT_EQ(camera.WriteProperty("Nope", "1"), 2);
  EXPECT_EQ(Error(2), "Invalid property name encountered: Nope");
  EXPECT_EQ(Error(2), "Invalid property name encountered: ");

  Read("TransposeXY");
  EXPECT_EQ(Error(3), "Invalid property value: TransposeXY");

  Read("TransposeXY");
  bool known = false;
  EXPECT_EQ(Error(1, &known), "Unknown error in the device");
  EXPECT_TRUE(known);
  EXPECT_EQ(camera.LastPropertyName(), "");  // any known code clears it

  // Unknown codes leave the name for a later text.
  Read("TransposeXY");
  EXPECT_EQ(Error(25, &known), "Error code 25 (19 hex)");
  EXPECT_FALSE(known);
  EXPECT_EQ(Error(-1), "Error code -1 (ffffffff hex)");
  EXPECT_EQ(Error(10001), "Error code 10001 (2711 hex)");
  EXPECT_EQ(Error(4), "Duplicate property names are not allowed: TransposeXY");

  EXPECT_EQ(Error(14), "Serial command failed.  Is the device connected to the serial port?");
  EXPECT_EQ(Error(30),
            "Camera is busy acquiring images.  Stop camera activity before changing this property");
  EXPECT_EQ(Error(41), "This command has not yet been implemented for this device.");
}

TEST_F(DeviceBaseTest, WhichOperationsRecordTheName) {
  bool flag;
  double number;
  int kind;
  struct Case {
    const char* name;
    std::function<int()> call;
    bool records;
  };
  const Case cases[] = {
      {"r1", [&] { return camera.IsPropertyReadOnly("r1", flag); }, true},
      {"r2", [&] { return camera.IsPropertyPreInit("r2", flag); }, true},
      {"r3", [&] { return camera.PropertyHasLimits("r3", flag); }, true},
      {"r4", [&] { return camera.PropertyLowerLimit("r4", number); }, true},
      {"r5", [&] { return camera.PropertyUpperLimit("r5", number); }, true},
      {"r6", [&] { return camera.PropertyCanSequence("r6", flag); }, true},
      {"r7", [&] { return camera.BeginPropertySequence("r7"); }, true},
      {"r8", [&] { return camera.AppendPropertySequence("r8", "1"); }, true},
      {"r9", [&] { return camera.SetPropertyLimits("r9", 0, 1); }, true},
      {"n1", [&] { return camera.PropertyKindOf("n1", kind); }, false},
  };
  for (const Case& c : cases) {
    Error(1);  // clears
    EXPECT_EQ(c.call(), 2) << c.name;
    EXPECT_EQ(camera.LastPropertyName(), c.records ? c.name : "") << c.name;
  }
}

TEST_F(DeviceBaseTest, SequenceOperationsGateOnSequenceability) {
  EXPECT_EQ(camera.BeginPropertySequence("TransposeXY"), 38);
  EXPECT_EQ(Error(38), "This property is not sequenceable");
  EXPECT_EQ(camera.LastPropertyName(), "");

  // A handler that enables sequencing when asked, and answers the others.
  struct Handler {
    std::vector<MM::ActionKind> kinds;
    int Handle(MM::PropertyBase* property, MM::ActionKind kind) {
      kinds.push_back(kind);
      if (kind == MM::ActionKind::QuerySequencing) property->EnableSequencing(2);
      return kind == MM::ActionKind::SequenceStart ? 11 : 0;
    }
  } handler;
  ASSERT_EQ(camera.CreateProperty("Seq", "0", MM::PropertyKind::Float, false,
                                  new MM::Action<Handler>(&handler, &Handler::Handle)),
            0);
  long capacity = 0;
  EXPECT_EQ(camera.PropertySequenceCapacity("Seq", capacity), 0);
  EXPECT_EQ(capacity, 2);
  EXPECT_EQ(camera.BeginPropertySequence("Seq"), 11);
  EXPECT_EQ(camera.LastPropertyName(), "");  // a handler's code is passed on unrecorded
  EXPECT_EQ(camera.EndPropertySequence("Seq"), 0);
  EXPECT_EQ(camera.ResetPropertySequence("Seq"), 0);
  EXPECT_EQ(camera.AppendPropertySequence("Seq", "1"), 0);
  EXPECT_EQ(camera.AppendPropertySequence("Seq", "2"), 0);
  EXPECT_EQ(camera.AppendPropertySequence("Seq", "3"), 39);
  EXPECT_EQ(camera.CommitPropertySequence("Seq"), 0);
  EXPECT_EQ(handler.kinds.back(), MM::ActionKind::SequenceLoaded);
}

TEST_F(DeviceBaseTest, WriteSemantics) {
  struct Refuser {
    int Handle(MM::PropertyBase*, MM::ActionKind kind) {
      return kind == MM::ActionKind::Apply ? 32 : 0;
    }
  } refuser;
  camera.CreateProperty("Locked", "a", MM::PropertyKind::String, true);
  camera.CreateProperty("Refused", "a", MM::PropertyKind::String, false,
                        new MM::Action<Refuser>(&refuser, &Refuser::Handle));
  camera.CreateIntegerProperty("Range", 5);
  camera.SetPropertyLimits("Range", 0, 10);

  EXPECT_EQ(camera.WriteProperty("Locked", "b"), 0);  // ignored, not refused
  EXPECT_EQ(Read("Locked"), "a");
  Error(1);
  EXPECT_EQ(camera.WriteProperty("Refused", "b"), 32);
  EXPECT_EQ(camera.LastPropertyName(), "Refused");
  EXPECT_EQ(Read("Refused"), "b");  // the stored value stays
  EXPECT_EQ(camera.WriteProperty("Range", "11"), 3);
  EXPECT_EQ(Read("Range"), "5");
  bool flag = false;
  EXPECT_EQ(camera.IsPropertyReadOnly("Range", flag), 0);
  EXPECT_FALSE(flag);
  EXPECT_EQ(camera.IsPropertyPreInit("Range", flag), 0);
  EXPECT_FALSE(flag);
}

TEST_F(DeviceBaseTest, CreationHelpers) {
  ASSERT_EQ(camera.CreateFloatProperty("Six", 123.456789, false), 0);
  EXPECT_EQ(Read("Six"), "123.4570");  // six significant digits first
  ASSERT_EQ(camera.CreateFloatProperty("Tenth", 0.1, true), 0);
  EXPECT_EQ(Read("Tenth"), "0.1000");
  ASSERT_EQ(camera.CreateIntegerProperty("Count", -42), 0);
  EXPECT_EQ(Read("Count"), "-42");
  int kind = 0;
  camera.PropertyKindOf("Tenth", kind);
  EXPECT_EQ(kind, 2);
}

TEST_F(DeviceBaseTest, RefusedCreationsDestroyTheirActions) {
  int deaths = 0;
  EXPECT_EQ(camera.CreateProperty("TransposeXY", "0", MM::PropertyKind::Integer, false,
                                  new CountedAction(deaths)),
            4);
  EXPECT_EQ(camera.CreateProperty("Bad", "0", static_cast<MM::PropertyKind>(9), false,
                                  new CountedAction(deaths)),
            5);
  EXPECT_EQ(camera.CreateFloatProperty("TransposeXY", 1.0, false, new CountedAction(deaths)), 4);
  EXPECT_EQ(camera.CreateIntegerProperty("TransposeXY", 1, new CountedAction(deaths)), 4);
  EXPECT_EQ(deaths, 4);
  {
    TestCamera other;
    ASSERT_EQ(other.CreateProperty("Kept", "0", MM::PropertyKind::Integer, false,
                                   new CountedAction(deaths)),
              0);
    EXPECT_EQ(deaths, 4);
  }
  EXPECT_EQ(deaths, 5);  // the table destroyed the accepted one
}

TEST_F(DeviceBaseTest, SetPropertyLimitsLogsARefusal) {
  EXPECT_EQ(camera.SetPropertyLimits("TransposeXY", 0.5, 123.456789), 24);
  ASSERT_EQ(host.logs.size(), 1u);
  EXPECT_EQ(host.logs[0],
            "Device adapter requests invalid values ( 0.5, 123.457) for property: TransposeXY");
  EXPECT_FALSE(host.debugFlags[0]);
  camera.CreateIntegerProperty("Range", 5);
  EXPECT_EQ(camera.SetPropertyLimits("Range", 0, 10), 0);
  bool has = false;
  camera.PropertyHasLimits("Range", has);
  EXPECT_TRUE(has);
  camera.SetCallback(nullptr);
  EXPECT_EQ(camera.SetPropertyLimits("Range", 3, 3), 24);  // no host: nothing logged
  EXPECT_EQ(host.logs.size(), 1u);
}

TEST_F(DeviceBaseTest, IdentityTextsAreCutAt1023Characters) {
  const std::string longLabel(2000, 'L');
  camera.SetLabel(longLabel.c_str());
  char text[HostStringLimit];
  std::memset(text, 'x', sizeof text);
  camera.GetLabel(text);
  EXPECT_EQ(std::string(text), longLabel.substr(0, 1023));

  camera.SetModuleName("Quorvex");
  camera.GetModuleName(text);
  EXPECT_STREQ(text, "Quorvex");
  camera.SetDescription("desc");
  camera.GetDescription(text);
  EXPECT_STREQ(text, "desc");
  camera.SetDelayMs(2.5);
  EXPECT_EQ(camera.DelayMs(), 2.5);
  EXPECT_FALSE(camera.UsesDelay());
  int handle;
  camera.SetLibraryHandle(&handle);
  EXPECT_EQ(camera.LibraryHandle(), &handle);
  EXPECT_EQ(camera.DeviceType(), 2);
  EXPECT_EQ(camera.HostHook(), 0);
  EXPECT_EQ(camera.HostStatusQuery(), -2);
  EXPECT_FALSE(camera.IsBusy());
}

TEST_F(DeviceBaseTest, ParentIdIsCutAndForwardedToHubId) {
  const std::string id(1500, 'h');
  camera.SetParentId(id.c_str());
  char text[HostStringLimit];
  camera.GetParentId(text);
  EXPECT_EQ(std::string(text), id.substr(0, 1023));

  camera.CreateProperty("HubID", "", MM::PropertyKind::String, false);
  camera.SetParentId("hub-7");
  EXPECT_EQ(Read("HubID"), "hub-7");
}

TEST_F(DeviceBaseTest, NullTextsFromAHostDoNotCrash) {
  char text[HostStringLimit];
  bool flag;
  EXPECT_EQ(camera.ReadProperty(nullptr, text), 2);
  EXPECT_EQ(camera.ReadProperty("TransposeXY", nullptr), 0);
  EXPECT_EQ(camera.WriteProperty(nullptr, "1"), 2);
  EXPECT_EQ(camera.WriteProperty("TransposeXY", nullptr), 3);  // empty text is not allowed
  EXPECT_FALSE(camera.PropertyExists(nullptr));
  EXPECT_EQ(camera.IsPropertyReadOnly(nullptr, flag), 2);
  EXPECT_EQ(camera.AllowedValueCount(nullptr), 0u);
  EXPECT_FALSE(camera.AllowedValueAt(nullptr, 0, text));
  EXPECT_EQ(camera.BeginPropertySequence(nullptr), 2);
  EXPECT_EQ(camera.AppendPropertySequence("TransposeXY", nullptr), 38);
  EXPECT_FALSE(camera.ErrorText(2, nullptr));
  EXPECT_TRUE(camera.PropertyNameAt(0, nullptr));
  camera.SetLabel(nullptr);
  camera.GetLabel(nullptr);
  camera.SetParentId(nullptr);
  camera.AddCameraTag(nullptr, nullptr, nullptr);
  camera.RemoveCameraTag(nullptr);
  camera.GetCameraTags(nullptr);
}

TEST_F(DeviceBaseTest, DeliveryWithoutAHostAnswersNoCallback) {
  camera.SetCallback(nullptr);
  EXPECT_EQ(camera.DeliverImage(), 13);
  EXPECT_EQ(camera.RunSequenceStep(), 13);
}

TEST_F(DeviceBaseTest, CameraTagStore) {
  camera.AddCameraTag("Exposure", "Cam1", "10");
  camera.AddCameraTag("Binning", "_", "1");
  EXPECT_EQ(camera.CameraTagKeys(), (std::vector<std::string>{"Binning", "Cam1-Exposure"}));
  EXPECT_EQ(camera.CameraTagValue("Cam1-Exposure"), "10");
  EXPECT_THROW(camera.CameraTagValue("Exposure"), MetadataKeyError);
  char text[HostStringLimit];
  camera.GetCameraTags(text);
  EXPECT_STREQ(text, "2\ns\nBinning\n_\n1\n1\ns\nExposure\nCam1\n1\n10\n");
  camera.RemoveCameraTag("Binning");
  camera.RemoveCameraTag("Binning");
  EXPECT_EQ(camera.CameraTagKeys().size(), 1u);

  // A store longer than the host buffer is cut to 1023 characters and a NUL.
  camera.AddCameraTag("Long", "_", std::string(3000, 'v').c_str());
  std::memset(text, 'x', sizeof text);
  camera.GetCameraTags(text);
  EXPECT_EQ(std::strlen(text), 1023u);
}

}  // namespace
