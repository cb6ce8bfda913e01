#include "net/client/netpuppet.h"

#include <iterator>

#include "kernel/core/strutils.h"
#include "net/client/netclient.h"

Z_IMPLEMENT_CLASS(tNetPuppet, .Operations = {{"Render"}, {"Update"}, {"FeedbackSignal"}, {"SetPosition"}})

namespace {
// The meshes of the aircraft, by the snapshot's chassis number: the
// server's choice (0), the biplane, the pursuit plane.
constexpr const char* ChassisMeshes[] = {"plane3\\plane_normals.ase", "plane3\\plane_normals.ase", "plane4\\craft.ase"};
constexpr int32_t AircraftMeshSize = 3;
}  // namespace

tNetPuppet::tNetPuppet(const ShortString& Name) : tMeshActor(Name) {
    const int32_t Chassis = Str2Int(GetToken(Name, 4));
    MeshFileName = ChassisMeshes[Chassis >= 0 && Chassis < int32_t(std::size(ChassisMeshes)) ? Chassis : 0];
    MeshSize = AircraftMeshSize;
}

tNetPuppet::~tNetPuppet() {
    if (NetClient) NetClient->PuppetGone(this);
}

void tNetPuppet::Place(const tNetAircraft& A) {
    Pose._vecPosition = {NetFloat(A.F[tNetAircraft::X]), NetFloat(A.F[tNetAircraft::Y]), NetFloat(A.F[tNetAircraft::Z])};
    Pose._quatAttitude = {NetDirectionFloat(A.F[tNetAircraft::AttitudeX]), NetDirectionFloat(A.F[tNetAircraft::AttitudeY]),
                          NetDirectionFloat(A.F[tNetAircraft::AttitudeZ]), NetDirectionFloat(A.F[tNetAircraft::AttitudeW])};
    Pose._rSpeed = NetFloat(A.F[tNetAircraft::Speed]);
    // No time passes: the step only turns the attitude into the rotation and heading.
    Pose.FlightStep(0);
}

void tNetPuppet::Render() { RenderPosed(Pose._vecPosition, Pose._matRotation); }
