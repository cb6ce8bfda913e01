#pragma once
// Players feed a text file of console command lines into the console: the
// instant player runs a whole script at once ("Exec"), the timed player paces
// a demo by its "WAIT <seconds>" lines over the following frames ("PlayDemo").
// The console keeps them on a stack and steps only the top one.

#include <cstdint>
#include <memory>

#include "kernel/core/shortstring.h"
#include "kernel/objects/lists.h"
#include "kernel/objects/zobject.h"

#include "kernel/core/stream.h"

class tDemoPlayer : public tZObject {
    Z_DECLARE_CLASS(tDemoPlayer, tZObject)
public:
    explicit tDemoPlayer(const ShortString& FileName);
    ~tDemoPlayer() override;

    // Runs one script line; true stops playing for this frame.
    virtual bool ProcessCommand(const ShortString& Line) = 0;
    virtual bool DemoTime() { return true; }
    virtual bool IsPlaying();
    // Runs lines until the file ends or ProcessCommand asks to stop.
    virtual void Play();

    ShortString DemoFile;
    std::unique_ptr<tIStream> DemoStream;
};

class tRenderDevice;

class tTimedDemoPlayer : public tDemoPlayer {
    Z_DECLARE_CLASS(tTimedDemoPlayer, tDemoPlayer)
public:
    explicit tTimedDemoPlayer(const ShortString& FileName);
    bool ProcessCommand(const ShortString& Line) override;
    bool DemoTime() override;

    double WaitDelay = 0.0;  // seconds to pause after WaitTime
    double WaitTime = 0.0;   // engine timer's system time when the pause began
    // After a screenshot the next line waits until the render device has begun
    // a frame beyond ShotFrame: the shot is taken when that frame is drawn.
    tRenderDevice* ShotDevice = nullptr;
    int64_t ShotFrame = 0;
};

// Runs the whole file while it is being constructed.
class tInstantDemoPlayer : public tDemoPlayer {
    Z_DECLARE_CLASS(tInstantDemoPlayer, tDemoPlayer)
public:
    explicit tInstantDemoPlayer(const ShortString& FileName);
    bool ProcessCommand(const ShortString& Line) override;
};

class tDemoPlayersList : public tList {
public:
    tDemoPlayersList();
    tDemoPlayer* GetDemoPlayer(int32_t Index);
};

class tDemoPlayersStack : public tDemoPlayersList {
public:
    void Push(tDemoPlayer* Player);
    // Removes and destroys the top player, if any.
    void PopAndDeallocate();
    // The most recently pushed player, or nullptr.
    tDemoPlayer* GetTop();
};
