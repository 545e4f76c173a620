#pragma once
#include "core/Events.h"
#include "core/Question.h"

namespace vedozer {

// The one door from the engine to a person: typed events going out and modal questions coming
// back. The desktop windows, the command line and test hosts each provide one. Every event has
// an empty default, so a front end overrides (with `override`) only what it shows.
class Host {
public:
    virtual ~Host() = default;

    // Called after each item of a long loop; the front end pumps its events here (a Pause click
    // asks its question inside it, a Stop click sets the session's stop flag).
    virtual void yield() {}
    virtual Answer ask(const Question& question) = 0;

    virtual void onScanStageStarted(const ScanStageStarted&) {}
    virtual void onScanProgress(const ScanProgress&) {}
    virtual void onItemFound(const ItemFound&) {}
    virtual void onRemovalProgress(const RemovalProgress&) {}
    virtual void onItemRemoved(const ItemRemoved&) {}
    virtual void onUpdateProgress(const UpdateProgress&) {}
    virtual void onNotice(const Notice&) {}
};

// A host with nobody behind it: every question gets the answer that changes nothing.
class UnattendedHost : public Host {
public:
    Answer ask(const Question& question) override { return safeAnswer(question.buttons); }
};

}  // namespace vedozer
