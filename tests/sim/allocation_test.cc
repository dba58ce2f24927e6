// The frame path allocates nothing: a steady PullFrame, logging included,
// makes no heap allocation on the pulling thread.
#include <atomic>
#include <cstdlib>
#include <new>
#include <vector>

#include "tests/sim/sim_fixture.h"

namespace {
thread_local bool counting = false;
thread_local long allocations = 0;
}  // namespace

// The replacement pairs malloc with free itself; GCC cannot see that.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif

void* operator new(std::size_t size) {
  if (counting) ++allocations;
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace simtest {
namespace {

class AllocationTest : public SimCameraTest {};

TEST_F(AllocationTest, SteadyPullsAllocateNothingWithOrWithoutTheCallLog) {
  for (const char* callLog : {"true", "false"}) {
    SCOPED_TRACE(callLog);
    CloseCamera();
    const std::string json = std::string(R"({"callLog": )") + callLog +
                             R"(, "cameras": [{"id": "a-1", "model": "Quorvex C8 ISP"}]})";
    ASSERT_EQ(Sim().configure(json.c_str()), 0);
    cam = Sim().open(OpenTextFor("a-1").c_str());
    ASSERT_NE(cam, nullptr);
    Sim().clearCallLog();
    ASSERT_GE(cam->SetResolutionIndex(2), 0);
    ASSERT_GE(cam->SetExposureTime(1000), 0);
    ASSERT_GE(cam->PutOption(11, 0), 0);
    ASSERT_GE(cam->StartStreaming(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr), 0);
    std::vector<unsigned char> frame(960 * 540 * 4);
    ASSERT_EQ(cam->PullFrame(2000, frame.data(), 32, -1, nullptr), 0);  // warm-up: picture, log ring
    counting = true;
    allocations = 0;
    int pulled = 0;
    for (int i = 0; i < 10; ++i) pulled += cam->PullFrame(2000, frame.data(), 32, -1, nullptr) == 0;
    counting = false;
    EXPECT_EQ(pulled, 10);
    EXPECT_EQ(allocations, 0);
    cam->StopStreaming(0);
    const int logged = Sim().callCount("a-1", "PullFrame(");
    EXPECT_EQ(logged, std::string(callLog) == "true" ? 11 : 0);
  }
}

}  // namespace
}  // namespace simtest
