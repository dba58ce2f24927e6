// A host core that records what a device tells it: log texts, pushed images
// with their metadata text, queue clears and finished acquisitions. The
// answers of PushImage can be scripted. Safe to call from several threads.
#pragma once

#include <deque>
#include <mutex>
#include <string>
#include <vector>

#include "module/host_core.h"

class RecordingHost : public HostCore {
 public:
  int LogMessage(const MM::Device*, const char* text, bool debugOnly) override {
    std::lock_guard<std::mutex> lock(mutex);
    logs.emplace_back(text);
    debugFlags.push_back(debugOnly);
    return 0;
  }
  int OnPropertyChanged(const MM::Device*, const char*, const char*) override { return 0; }
  int OnExposureChanged(const MM::Device*, double) override { return 0; }
  int AcquisitionFinished(const MM::Device* caller, int status) override {
    std::lock_guard<std::mutex> lock(mutex);
    finished.push_back(status);
    lastCaller = caller;
    return 0;
  }
  int PrepareForAcquisition(const MM::Device*) override { return 0; }
  int PushImage(const MM::Device*, const unsigned char* pixels, unsigned width, unsigned height,
                unsigned bytesPerPixel, const char* metadata, bool process) override {
    std::lock_guard<std::mutex> lock(mutex);
    pushedMetadata.emplace_back(metadata);
    pushedPixels.push_back(pixels);
    pushedShape = {width, height, bytesPerPixel};
    pushedProcess = process;
    if (pushAnswers.empty()) return 0;
    int answer = pushAnswers.front();
    pushAnswers.pop_front();
    return answer;
  }
  int ClearImageQueue(const MM::Device*) override {
    std::lock_guard<std::mutex> lock(mutex);
    ++clears;
    return 0;
  }

  // Read these after the device's threads have finished.
  std::mutex mutex;
  std::vector<std::string> logs;
  std::vector<bool> debugFlags;
  std::vector<int> finished;
  const MM::Device* lastCaller = nullptr;
  std::vector<std::string> pushedMetadata;
  std::vector<const unsigned char*> pushedPixels;
  std::vector<unsigned> pushedShape;
  bool pushedProcess = false;
  std::deque<int> pushAnswers;
  int clears = 0;
};
