// The built-in class table. Each class joins it with one line, at its place in
// the order below: records are searched in this order, so the first loader
// that matches an extension wins, and data files rely on the names.
// Listing the descriptors here is also what keeps every class's object file in
// the program, since the engine is linked from a static library.
//
// Full order (S = spawnable constructor kind):
//   engine: tNullAtmosphere (S), tNullWorld, tCamera, tNullCamera, the
//   dedicated server's tNullRenderDevice, tNullViewport, tServerConsole, tLevel,
//   tVirginForest (S), tSubSystem, tZObject, tEngineConsole, tEngineVarsManager,
//   tResourcesManager, tZResourcesManager, tRenderDevice, tVertexArrayManager,
//   tWindowManager, tAudioSubSystem, tTimer, tLoader, tMathServer,
//   tGeometryServer, tVertexArray, tOSRenderingLayer, tAtmosphere (S),
//   tActor (S), tWeatherConditions (S), tCloudyDay (S), tClearDay (S),
//   tHellfire (S), tStormyDay (S), tExplosion (S), tLensFlare (S), tWinTimer,
//   tWinGameEngine, tWindowsTTFManipulator (S), tBitmapLoader, tMeshLoader,
//   tBMPLoader, tPNGLoader, tDDSLoader, tZHMLoader, tZSSLoader, tASELoader, tGUILoader,
//   tGUIAtom, tGUIResponder, tGUIRegion (S), tGUIView (S), tGUIDesktop,
//   tGUIPanel (S), tGUIBorderPanel (S), tGUIStaticPanel (S),
//   tGUIVerticalSplitter (S), tGUIHorizontalSplitter (S), tGUIWindow (S),
//   tGUIIcon (S), tGUIButton (S), tGUIPushButton (S), tGUIRadioButton (S),
//   tGUIRadioGroup (S), tGUICheckBox (S), tGUIStaticWidget (S),
//   tGUIInputLine (S), tGUIVerticalScroller (S), tGUISpinBox (S),
//   tGUIComboBox (S), tGUIListBox (S), tGUIComboListBox (S), tGUIGauge (S),
//   tGUIConsoleHistory (S), tGUIConsoleInputBar (S), tGUIStdConsole (S),
//   tPrimaryRenderingTarget, tOGLRenderDevice, tRGeometryServer,
//   tWindowsRenderingLayer, tFreeCamera, tAtmosphereRenderer (S),
//   tAudioSource (S), tAudioLoader, tAudioSystem, tSource, tWAVLoader,
//   tStreamPlayer, tModulePlayer, tPCMPlayer, tOGGPlayer, tMP3Player,
//   tXMPlayer, tITPlayer, tMIDPlayer, tMODPlayer, tS3MPlayer,
//   tGenericMathServer, tNullAudioSubSystem;
//   game (all S except tHeightMapResource): tPickup, tCreditsPickup,
//   tMeshActor, tAirplaneActor, tAnnouncer, tLostTheMatchAnnouncer,
//   tPursuitPlane, tBiplane, tGUIAboutBox, tGUI3DModel, tMipTerrain,
//   tHeightMapResource, tParticleProjectile, tShellProjectile,
//   tPlasmaProjectile, tRailShaft, tWeapon, tPulseGun, tPlasmaGun, tRailGun,
//   tFXOrbitCamera, tFXInfiniteOrbit, tBoxActor, tSplash, tBurningWreck; then
//   the match and the flight recorder (plain constructors), tMatch,
//   tFlightRecorder; ours: tGUIKeyBindingList, tGUIPadBindingList (S), the
//   networked match's server and client tNetServer, tNetClient and their
//   figures tNetDiagnostics (plain constructors) and the aircraft a client draws, tNetPuppet (S), the
//   multiplayer page's list of servers, tGUIRecentServerList (S).

#include "game/airplane.h"
#include "game/announcers.h"
#include "game/gui3dmodel.h"
#include "game/guiaboutbox.h"
#include "game/flightrecorder.h"
#include "game/match.h"
#include "game/meshactor.h"
#include "game/orbitcamera.h"
#include "game/pickups.h"
#include "game/projectiles.h"
#include "game/weapons.h"
#include "game/terrain/mipterrain.h"
#include "kernel/audio/audiosystem.h"
#include "kernel/audio/source.h"
#include "kernel/audio/streamplayers.h"
#include "kernel/console/console.h"
#include "kernel/console/varsmanager.h"
#include "kernel/core/logger.h"
#include "kernel/gui/desktop.h"
#include "kernel/gui/windowmanager.h"
#include "kernel/loaders/bitmaploader.h"
#include "kernel/loaders/bmploader.h"
#include "kernel/loaders/pngloader.h"
#include "kernel/loaders/ddsloader.h"
#include "kernel/loaders/guiloader.h"
#include "kernel/loaders/scriptloaders.h"
#include "kernel/loaders/wavloader.h"
#include "kernel/null/nullaudio.h"
#include "kernel/null/nullrender.h"
#include "kernel/null/nullviewport.h"
#include "kernel/null/nullworld.h"
#include "kernel/null/serverconsole.h"
#include "kernel/objects/registry.h"
#include "kernel/objects/zobject.h"
#include "kernel/platform/primarytarget.h"
#include "kernel/platform/renderinglayer.h"
#include "kernel/platform/timer.h"
#include "kernel/platform/ttfmanipulator.h"
#include "kernel/platform/wingameengine.h"
#include "kernel/renderer/atmosphere/atmosphererenderer.h"
#include "kernel/renderer/atmosphere/stormyday.h"
#include "kernel/renderer/atmosphere/weather.h"
#include "kernel/renderer/geometry/geometryserver.h"
#include "kernel/renderer/mesh/aseloader.h"
#include "kernel/renderer/opengl/oglrenderdevice.h"
#include "kernel/renderer/va/vamanager.h"
#include "kernel/resources/heightmapresource.h"
#include "kernel/resources/loader.h"
#include "kernel/resources/resourcesmanager.h"
#include "kernel/world/forest.h"
#include "kernel/world/freecamera.h"
#include "kernel/world/level.h"
#include "libraries/classes/audiosubsystem.h"
#include "libraries/classes/resourcesmanager.h"
#include "libraries/classes/subsystem.h"
#include "libraries/gui/button.h"
#include "libraries/gui/framing.h"
#include "libraries/gui/keybindings.h"
#include "libraries/gui/padbindings.h"
#include "libraries/gui/inputline.h"
#include "libraries/gui/label.h"
#include "libraries/gui/lists.h"
#include "libraries/gui/panel.h"
#include "libraries/gui/ranges.h"
#include "libraries/gui/stdconsole.h"
#include "libraries/gui/toggles.h"
#include "libraries/effects/aftermath.h"
#include "libraries/effects/explosion.h"
#include "libraries/effects/lensflare.h"
#include "libraries/math/mathserver.h"
#include "net/client/guirecentservers.h"
#include "net/client/netclient.h"
#include "net/client/netpuppet.h"
#include "net/diagnostics/netdiagnostics.h"
#include "net/server/netserver.h"

void tObjectsLinker::RegisterClasses() {
    ProcTrace trace("RegisterClasses()");

    // Engine classes
    AddClass(tNullAtmosphere::StaticClass(CT_SpawnableConstructor));
    AddClass(tNullWorld::StaticClass());
    AddClass(tCamera::StaticClass());
    AddClass(tNullCamera::StaticClass());
    AddClass(tNullRenderDevice::StaticClass());
    AddClass(tNullViewport::StaticClass());
    AddClass(tServerConsole::StaticClass());
    AddClass(tLevel::StaticClass());
    AddClass(tVirginForest::StaticClass(CT_SpawnableConstructor));
    AddClass(tSubSystem::StaticClass());
    AddClass(tZObject::StaticClass());
    AddClass(tEngineConsole::StaticClass());
    AddClass(tEngineVarsManager::StaticClass());
    AddClass(tResourcesManager::StaticClass());
    AddClass(tZResourcesManager::StaticClass());
    AddClass(tRenderDevice::StaticClass());
    AddClass(tVertexArrayManager::StaticClass());
    AddClass(tWindowManager::StaticClass());
    AddClass(tAudioSubSystem::StaticClass());
    AddClass(tTimer::StaticClass());
    AddClass(tLoader::StaticClass());
    AddClass(tMathServer::StaticClass());
    AddClass(tGeometryServer::StaticClass());
    AddClass(tVertexArray::StaticClass());
    AddClass(tOSRenderingLayer::StaticClass());
    AddClass(tAtmosphere::StaticClass(CT_SpawnableConstructor));
    AddClass(tActor::StaticClass(CT_SpawnableConstructor));
    AddClass(tWeatherConditions::StaticClass(CT_SpawnableConstructor));
    AddClass(tCloudyDay::StaticClass(CT_SpawnableConstructor));
    AddClass(tClearDay::StaticClass(CT_SpawnableConstructor));
    AddClass(tHellfire::StaticClass(CT_SpawnableConstructor));
    AddClass(tStormyDay::StaticClass(CT_SpawnableConstructor));
    AddClass(tExplosion::StaticClass(CT_SpawnableConstructor));
    AddClass(tLensFlare::StaticClass(CT_SpawnableConstructor));
    AddClass(tWinTimer::StaticClass());
    AddClass(tWinGameEngine::StaticClass());
    AddClass(tWindowsTTFManipulator::StaticClass(CT_SpawnableConstructor));
    AddClass(tBitmapLoader::StaticClass());
    AddClass(tMeshLoader::StaticClass());
    AddClass(tBMPLoader::StaticClass());
    AddClass(tPNGLoader::StaticClass());
    AddClass(tDDSLoader::StaticClass());
    AddClass(tZHMLoader::StaticClass());
    AddClass(tZSSLoader::StaticClass());
    AddClass(tASELoader::StaticClass());
    AddClass(tUserInterfaceLoader::StaticClass());
    AddClass(tGUILoader::StaticClass());
    AddClass(tGUIAtom::StaticClass());
    AddClass(tGUIResponder::StaticClass());
    AddClass(tGUIRegion::StaticClass(CT_SpawnableConstructor));
    AddClass(tGUIView::StaticClass(CT_SpawnableConstructor));
    AddClass(tGUIDesktop::StaticClass());
    AddClass(tGUIPanel::StaticClass(CT_SpawnableConstructor));
    AddClass(tGUIBorderPanel::StaticClass(CT_SpawnableConstructor));
    AddClass(tGUIStaticPanel::StaticClass(CT_SpawnableConstructor));
    AddClass(tGUIVerticalSplitter::StaticClass(CT_SpawnableConstructor));
    AddClass(tGUIHorizontalSplitter::StaticClass(CT_SpawnableConstructor));
    AddClass(tGUIWindow::StaticClass(CT_SpawnableConstructor));
    AddClass(tGUIIcon::StaticClass(CT_SpawnableConstructor));
    AddClass(tGUIButton::StaticClass(CT_SpawnableConstructor));
    AddClass(tGUIPushButton::StaticClass(CT_SpawnableConstructor));
    AddClass(tGUIRadioButton::StaticClass(CT_SpawnableConstructor));
    AddClass(tGUIRadioGroup::StaticClass(CT_SpawnableConstructor));
    AddClass(tGUICheckBox::StaticClass(CT_SpawnableConstructor));
    AddClass(tGUIStaticWidget::StaticClass(CT_SpawnableConstructor));
    AddClass(tGUIInputLine::StaticClass(CT_SpawnableConstructor));
    AddClass(tGUIVerticalScroller::StaticClass(CT_SpawnableConstructor));
    AddClass(tGUISpinBox::StaticClass(CT_SpawnableConstructor));
    AddClass(tGUIComboBox::StaticClass(CT_SpawnableConstructor));
    AddClass(tGUIListBox::StaticClass(CT_SpawnableConstructor));
    AddClass(tGUIComboListBox::StaticClass(CT_SpawnableConstructor));
    AddClass(tGUIGauge::StaticClass(CT_SpawnableConstructor));
    AddClass(tGUIConsoleHistory::StaticClass(CT_SpawnableConstructor));
    AddClass(tGUIConsoleInputBar::StaticClass(CT_SpawnableConstructor));
    AddClass(tGUIStdConsole::StaticClass(CT_SpawnableConstructor));
    AddClass(tPrimaryRenderingTarget::StaticClass());
    AddClass(tOGLRenderDevice::StaticClass());
    AddClass(tRGeometryServer::StaticClass());
    AddClass(tWindowsRenderingLayer::StaticClass());
    AddClass(tFreeCamera::StaticClass());
    AddClass(tAtmosphereRenderer::StaticClass(CT_SpawnableConstructor));
    AddClass(tAudioSource::StaticClass(CT_SpawnableConstructor));
    AddClass(tAudioLoader::StaticClass());
    AddClass(tAudioSystem::StaticClass());
    AddClass(tSource::StaticClass());
    AddClass(tWAVLoader::StaticClass());
    AddClass(tStreamPlayer::StaticClass());
    AddClass(tModulePlayer::StaticClass());
    AddClass(tPCMPlayer::StaticClass());
    AddClass(tOGGPlayer::StaticClass());
    AddClass(tMP3Player::StaticClass());
    AddClass(tXMPlayer::StaticClass());
    AddClass(tITPlayer::StaticClass());
    AddClass(tMIDPlayer::StaticClass());
    AddClass(tMODPlayer::StaticClass());
    AddClass(tS3MPlayer::StaticClass());
    AddClass(tGenericMathServer::StaticClass());
    AddClass(tNullAudioSubSystem::StaticClass());

    // Game classes
    AddClass(tPickup::StaticClass(CT_SpawnableConstructor));
    AddClass(tCreditsPickup::StaticClass(CT_SpawnableConstructor));
    AddClass(tMeshActor::StaticClass(CT_SpawnableConstructor));
    AddClass(tAirplaneActor::StaticClass(CT_SpawnableConstructor));
    AddClass(tAnnouncer::StaticClass(CT_SpawnableConstructor));
    AddClass(tLostTheMatchAnnouncer::StaticClass(CT_SpawnableConstructor));
    AddClass(tPursuitPlane::StaticClass(CT_SpawnableConstructor));
    AddClass(tBiplane::StaticClass(CT_SpawnableConstructor));
    AddClass(tGUIAboutBox::StaticClass(CT_SpawnableConstructor));
    AddClass(tGUI3DModel::StaticClass(CT_SpawnableConstructor));
    AddClass(tMipTerrain::StaticClass(CT_SpawnableConstructor));
    AddClass(tHeightMapResource::StaticClass());
    AddClass(tParticleProjectile::StaticClass(CT_SpawnableConstructor));
    AddClass(tShellProjectile::StaticClass(CT_SpawnableConstructor));
    AddClass(tPlasmaProjectile::StaticClass(CT_SpawnableConstructor));
    AddClass(tRailShaft::StaticClass(CT_SpawnableConstructor));
    AddClass(tWeapon::StaticClass(CT_SpawnableConstructor));
    AddClass(tPulseGun::StaticClass(CT_SpawnableConstructor));
    AddClass(tPlasmaGun::StaticClass(CT_SpawnableConstructor));
    AddClass(tRailGun::StaticClass(CT_SpawnableConstructor));
    AddClass(tFXOrbitCamera::StaticClass(CT_SpawnableConstructor));
    AddClass(tFXInfiniteOrbit::StaticClass(CT_SpawnableConstructor));
    AddClass(tBoxActor::StaticClass(CT_SpawnableConstructor));
    AddClass(tSplash::StaticClass(CT_SpawnableConstructor));
    AddClass(tBurningWreck::StaticClass(CT_SpawnableConstructor));
    AddClass(tMatch::StaticClass());
    AddClass(tFlightRecorder::StaticClass());
    AddClass(tGUIKeyBindingList::StaticClass(CT_SpawnableConstructor));
    AddClass(tGUIPadBindingList::StaticClass(CT_SpawnableConstructor));
    AddClass(tNetServer::StaticClass());
    AddClass(tNetClient::StaticClass());
    AddClass(tNetDiagnostics::StaticClass());
    AddClass(tNetPuppet::StaticClass(CT_SpawnableConstructor));
    AddClass(tGUIRecentServerList::StaticClass(CT_SpawnableConstructor));
}
