#!/usr/bin/env python3
"""Writes the soak's churn to standard output: a demo script of SECONDS
seconds in 5-second rounds. Each round asks for the object statistics,
changes the weather, opens a window and resets the GUI, takes a screenshot
and runs a few console lines. Every sixth round the world is reset and built
again (terrain, sky, weather) around a new aircraft that flies into a hill,
so the crash, the countdown and the respawn run and the aircraft the
previous respawn made is gone with the old world. Every round also gives a
few lines the game must refuse with a console error (a second match, a
window no device can give, an alias that expands past a line's budget).
Ends on Quit."""
import sys

WEATHER = ["tCloudyDay 14", "tClearDay 12", "tCloudyDay 23", "tStormyDay 16", "tHellfire 18"]
# Twelve pieces four deep would be 12^4 commands: more than a line may run.
REFUSED = ["SpawnClass tMatch", "Set ScreenWidth 100000; Set ScreenHeight 100000; ApplyDisplay",
           'Alias soakq "' + ";".join(["soakq"] * 12) + '"; soakq']


def rounds(seconds):
    for n in range(max(1, seconds // 5)):
        lines = ["ObjectStats"]
        if n % 6 == 1:
            lines += ["ResetWorld", "SpawnClass tFreeCamera", "SpawnClass tMipTerrain Terrain\\island.zhm",
                      "SpawnClass tAtmosphereRenderer"]
        lines.append("SpawnClass " + WEATHER[n % len(WEATHER)])
        if n % 6 == 1:
            lines += ["BeginPlay",
                      # A hill stands in the way of an aircraft started here.
                      'SpawnClass %PlaneChassis "384 180 40"']
        lines += ["WAIT 1", "AddGUI UI\\Sample.gui", "WAIT 0.5", "ResetGUI", "WAIT 0.5",
                  "ScreenShot soak%d.bmp" % (n % 4), "Echo round %d" % n, "VarList PlaneChassis",
                  "Toggle ShowFPS", REFUSED[n % len(REFUSED)], "WAIT 3"]
        yield lines


def main():
    seconds = int(sys.argv[1])
    print("WAIT 1")
    for lines in rounds(seconds):
        print("\n".join(lines))
    print("ObjectStats\nQuit")


if __name__ == "__main__":
    main()
