// The metadata store: keys, order, serialised text, the key error.
#include <gtest/gtest.h>

#include "framework/image_tag_text.h"
#include "framework/metadata.h"

namespace {

TEST(MetadataTest, SerialisesInKeyOrder) {
  ImageMetadata store;
  EXPECT_EQ(store.Serialize(), "0\n");
  store.PutTag("a", "_", "2");
  store.PutTag("B", "_", "");
  store.PutTag("Exposure", "Cam1", "10");
  EXPECT_EQ(store.GetKeys(), (std::vector<std::string>{"B", "Cam1-Exposure", "a"}));
  EXPECT_EQ(store.Serialize(),
            "3\n"
            "s\nB\n_\n1\n\n"
            "s\nExposure\nCam1\n1\n10\n"
            "s\na\n_\n1\n2\n");
}

TEST(MetadataTest, PutReplacesRemoveIsSilentAndMissingKeysThrow) {
  ImageMetadata store;
  store.PutTag("Exposure", "Cam1", "1");
  store.PutTag("Exposure", "Cam1", "2");
  store.PutTag("Gain", "_", nullptr);
  EXPECT_EQ(store.TagCount(), 2u);
  MetadataSingleTag tag = store.GetSingleTag("Cam1-Exposure");
  EXPECT_EQ(tag.GetValue(), "2");
  EXPECT_EQ(tag.GetName(), "Exposure");
  EXPECT_TRUE(tag.IsReadOnly());
  EXPECT_EQ(store.GetSingleTag("Gain").GetValue(), "");
  store.RemoveTag("nothing");
  store.RemoveTag("Gain");
  EXPECT_EQ(store.TagCount(), 1u);
  store.Clear();
  try {
    store.GetSingleTag("Cam1-Exposure");
    FAIL() << "no exception";
  } catch (const MetadataError& error) {
    EXPECT_EQ(error.GetMessage(), "Undefined metadata key");
    EXPECT_NE(dynamic_cast<const MetadataKeyError*>(&error), nullptr);
  }
}

TEST(MetadataTest, RestoreReadsTheFourLines) {
  MetadataSingleTag tag;
  EXPECT_TRUE(tag.Restore("Name\nDev\n7\nV\n"));
  EXPECT_EQ(tag.GetName(), "Name");
  EXPECT_EQ(tag.GetDevice(), "Dev");
  EXPECT_TRUE(tag.IsReadOnly());
  EXPECT_EQ(tag.GetValue(), "V");
  EXPECT_EQ(tag.Serialize(), "Name\nDev\n1\nV\n");
  std::unique_ptr<MetadataTag> copy(tag.Clone());
  EXPECT_EQ(copy->Serialize(), tag.Serialize());
  EXPECT_EQ(copy->AsArrayTag(), nullptr);
}

TEST(MetadataTest, PerImageTextFollowsTheLabel) {
  qv::ImageTagText text;
  EXPECT_EQ(text.ForLabel("Cam1"), "1\ns\nCamera\n_\n1\nCam1\n");
  EXPECT_EQ(text.ForLabel("Cam2"), "1\ns\nCamera\n_\n1\nCam2\n");
  EXPECT_EQ(text.ForLabel(""), "1\ns\nCamera\n_\n1\n\n");
}

}  // namespace
