// SearchHandOver: the one record that the finder's UI thread, its search
// worker and the search progress window share while a search runs.
// The flags and counters are atomics written by one side each; the status
// line is a string and is exchanged under the lock.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>

#include "store/progress.h"

class CVrk3mpgDoc;

struct TSearchHandOver {
    // Written by the UI at search start, read by the worker.
    CVrk3mpgDoc* pResultDoc = nullptr;
    std::string strPattern;    // known letters (Windows-1250) + the two option characters
    std::string strDescWords;  // description words (Windows-1250)
    // The dictionary paths of the active library, each followed by '"';
    // kept current by the active-library chooser.
    std::string strLibraryDicts;
    std::string strActiveLibrary;  // name of the active library (Windows-1250)

    std::atomic<bool> bProgressShown{false};  // the progress window is on screen
    std::atomic<bool> bFinished{false};       // the worker has finished
    // The search's progress and stop request, handed to every dictionary
    // the worker searches.
    vrk::TProgress progress;

    // The status line ("Iskanje v slovarju "..."), under statusLock.
    void SetStatus(std::string status) {
        std::lock_guard<std::mutex> lock(statusLock);
        strStatus = std::move(status);
    }
    std::string Status() const {
        std::lock_guard<std::mutex> lock(statusLock);
        return strStatus;
    }

  private:
    mutable std::mutex statusLock;
    std::string strStatus;
};

extern TSearchHandOver SearchHandOver;
