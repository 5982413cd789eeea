#pragma once

#include "platform/FileOperationService.h"

#include <functional>
#include <vector>

// Records what the browser asks of the service; `effect` stands for the work done.
class RecordingService : public FileOperationService {
  public:
    FileOperationResult run(const FileOperationRequest& request) override {
        requests.push_back(request);
        busyDuringRun = busy && *busy;
        if (effect)
            effect(request);
        return {result, {}, {}};
    }
    std::vector<FileOperationRequest> requests;
    std::function<void(const FileOperationRequest&)> effect;
    bool result = true;
    const bool* busy = nullptr;
    bool busyDuringRun = false;
};
