#pragma once
// Another machine's aircraft as a client draws it: the mesh of its class
// where the latest snapshot put it, turned as it was; it flies nothing on
// its own and leaves when the server's snapshots no longer hold it.

#include "game/flightmodel.h"
#include "game/meshactor.h"
#include "net/protocol/snapshot.h"

class tNetPuppet : public tMeshActor {
    Z_DECLARE_CLASS(tNetPuppet, tMeshActor)
public:
    // Name: "x y z chassis", the chassis numbered as snapshots number it.
    explicit tNetPuppet(const ShortString& Name);
    // Tells the client, whose list must not keep it (a new world disposes
    // every puppet of the old one).
    ~tNetPuppet() override;

    void Render() override;
    void Update(float) override {}
    TFeedbackSignal FeedbackSignal() override { return Gone ? FEEDBACK_KILL : FEEDBACK_NONE; }
    void SetPosition(const TVector3& V) override { Pose._vecPosition = V; }

    // Takes the aircraft's state from a snapshot.
    void Place(const tNetAircraft& Aircraft);
    // Leaves the world at the next feedback.
    void Leave() { Gone = true; }
    const TVector3& Position() const { return Pose._vecPosition; }
    const TVector3& Heading() const { return Pose._vecHeading; }
    // The pose and speed of the latest snapshot.
    const TFlightModel& Flight() const { return Pose; }

private:
    TFlightModel Pose;  // position and attitude only: it is never flown
    bool Gone = false;
};
