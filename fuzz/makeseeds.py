#!/usr/bin/env python3
"""Writes the seed corpora of the fuzz targets into fuzz/corpus/<format>/:
small valid files of every kind each loader accepts, plus a few it refuses."""

import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def write(fmt, name, data):
    d = os.path.join(HERE, "corpus", fmt)
    os.makedirs(d, exist_ok=True)
    with open(os.path.join(d, name), "wb") as f:
        f.write(data)


def bmp(w, h, bits, compression=0):
    row = (w * bits // 8 + 3) // 4 * 4
    pixels = bytes((i * 37) & 0xFF for i in range(row * h))
    header = struct.pack("<2sIHHIIiiHHIIiiII", b"BM", 54 + len(pixels), 0, 0, 54, 40, w, h, 1, bits,
                         compression, 0, 6000, 6000, 0, 0)
    return header + pixels


def dds(w, h, depth, bits, caps1, caps2, body_len):
    header = bytearray(128)
    header[0:4] = b"DDS "
    struct.pack_into("<IIIIIII", header, 4, 124, 0x1007, h, w, 0, depth, 1)
    struct.pack_into("<I", header, 88, bits)
    struct.pack_into("<II", header, 108, caps1, caps2)
    return bytes(header) + bytes((i * 11) & 0xFF for i in range(body_len))


def wav(tag, channels, rate, bits, samples):
    data = bytes((i * 5) & 0xFF for i in range(samples))
    return struct.pack("<4sI4s4sIHHIIHH4sI", b"RIFF", 36 + len(data), b"WAVE", b"fmt ", 16, tag, channels, rate,
                       rate * channels * bits // 8, channels * bits // 8, bits, b"data", len(data)) + data


def riff(*chunks):
    body = b"WAVE" + b"".join(struct.pack("<4sI", cid, len(data)) + data + b"\0" * (len(data) & 1)
                              for cid, data in chunks)
    return b"RIFF" + struct.pack("<I", len(body)) + body


def fmt(channels, rate, bits, extra=b""):
    return struct.pack("<HHIIHH", 1, channels, rate, rate * channels * bits // 8, channels * bits // 8, bits) + extra


TEXTURE, CUBEMAP, VOLUME, FACES = 0x1000, 0x200, 0x200000, 0xFC00

write("bmp", "rgb4x4.bmp", bmp(4, 4, 24))
write("bmp", "rgba2x2.bmp", bmp(2, 2, 32))
write("bmp", "padded1x2.bmp", bmp(1, 2, 24))
write("bmp", "grey.bmp", bmp(4, 4, 8))
write("bmp", "rle.bmp", bmp(4, 4, 32, 3))

write("dds", "volume24.dds", dds(2, 2, 2, 24, TEXTURE, VOLUME, 24))
write("dds", "volume8.dds", dds(4, 2, 2, 8, TEXTURE, VOLUME, 16))
write("dds", "cube32.dds", dds(1, 1, 0, 32, TEXTURE, CUBEMAP | FACES, 24))
write("dds", "cube24.dds", dds(2, 1, 0, 24, TEXTURE, CUBEMAP | FACES, 36))
write("dds", "flat.dds", dds(2, 2, 0, 32, TEXTURE, 0, 16))

write("wav", "mono8.wav", wav(1, 1, 8000, 8, 16))
write("wav", "stereo16.wav", wav(1, 2, 22050, 16, 32))
write("wav", "float.wav", wav(3, 1, 8000, 32, 8))
write("wav", "listchunk.wav", riff((b"fmt ", fmt(2, 44100, 16, b"\0\0")), (b"LIST", b"INFOISFT\3\0\0\0abc\0"),
                                   (b"data", bytes(range(10)))))
write("wav", "oddchunk.wav", riff((b"junk", b"xyz"), (b"fmt ", fmt(1, 8000, 8)), (b"data", b"\x80" * 7)))

write("xzml", "heightmap.zhm", b"""; a height map
!!ZHM1.0
Outer
{
   Size   10 20
   Inner ( "first" )
   {
      Path  Data\\x.raw
   }
}
""".replace(b"\n", b"\r\n"))
write("xzml", "shader.shader", b"""!!ZSS1.1
SurfaceShader
{
  Texture ( "0" ) {
    Map "textures\\sky.bmp"
    Animate ROTATE -0.5 +2 ; comment
  }
  BlendFunc GL_ONE GL_ZERO
}
""")
write("xzml", "unclosed.zss", b"!!ZSS1.1\nTop {\n  Inner {\n    x 1\n  }\n")

write("ini", "engine.ini", b"[Core]\nEngine=tWinGameEngine\nConsole=tEngineConsole\n\n; comment\n"
      b"[ResourcesCache]\nTexturesCachingDir = Cache\\Textures\n")
write("ini", "nokey.ini", b"[A]\nkey\n")
write("ini", "outside.ini", b"x=1\n[B]\n")

write("console", "basics.cfg", b'echo hello; echo "quoted ; text"\nset ShowFPS 1\nalias x "echo %ShowFPS"\nx\n'
      b'bind F1 "echo key"\nbindlist\n')
write("console", "scripts.cfg", b"exec Scripts\\first.cfg\nPlayDemo Demos\\short.dem\nhelp\nvarlist\n")
write("console", "vars.cfg", b"toggle ShowFPS\n+ShowFPS\nadd MaxTickRate 5\nunbindall\nversion\nwait 1\necho %nothere\n")

write("history", "two.txt", b"HalvardineHistory 1\nEcho one\nSet ScreenShotDir \"My Shots\"; ScreenShot\n")
write("history", "crlf.txt", b"HalvardineHistory 1\r\nExec my.cfg\r\n\r\n")
write("history", "noheader.txt", b"Echo one\n")
write("flight", "short.dem", b"HalvardineFlight 1\nseed 7\nsun 12.5\nwindow 1024 768\nweather tStormyDay 16\n"
      b"set PlaneChassis s tBiplane\nset BotSkill f 0.5\nticks 200\nk 0 70 1\nm 0 3 -4\np 0 0\n"
      b"c 5 1 1 Set ShowFPS True\nk 50 70 0\na 99 1 64 84 200\na 199 1 64 104.5 199.25\nend\n")
write("flight", "crlf.dem", b"HalvardineFlight 1\r\nticks 1\r\nc 0 0 0 +MoveUp\r\nend\r\n")
write("flight", "later.dem", b"HalvardineFlight 9\nticks 0\nend\n")
write("flight", "cut.dem", b"HalvardineFlight 1\nticks 100\nk 0 70 1\n")
write("flight", "network.dem", b"HalvardineFlight 2\nseed 1\nnoplayer\nset BotCount i 3\nticks 300\np 0 4\n"
      b"j 10 4 tBiplane tRailGun Ace (2)\ni 10 4 129 -12 40\ni 11 4 0 0 0\nc 50 1 1 PlacePilot 4 100 150 -30\n"
      b"a 99 4 64 84 200\nl 250 4\nj 250 4 tPursuitPlane tPulseGun Bee\nend\n")
write("history", "long.txt", b"HalvardineHistory 1\n" + b"x" * 300 + b"\n")

write("commandline", "groups.args", b"--no-menu\0+Set\0PlaneChassis\0tPursuitPlane\0+Exec\0my file.cfg")
write("commandline", "options.args", b"--help\0--version\0-h\0+\0Echo\0a;b")
write("commandline", "refused.args", b"stray\0--bogus\0+Echo\0a\nQuit")


def ase(objects, materials=("Shaders\\plain.shader",), extra=""):
    """An ASE file; objects are (vertices, faces, material reference, lines
    placed before the mesh block)."""
    out = ["*3DSMAX_ASCIIEXPORT\t200", "*SCENE {", "\t*SCENE_FIRSTFRAME 0", "}", "*MATERIAL_LIST {",
           "\t*MATERIAL_COUNT %d" % len(materials)]
    for i, m in enumerate(materials):
        out += ["\t*MATERIAL %d {" % i, '\t\t*MATERIAL_NAME "%s"' % m, "\t\t*MAP_DIFFUSE {", "\t\t}", "\t}"]
    out.append("}")
    for verts, faces, ref, before in objects:
        out += ["*GEOMOBJECT {", '\t*NODE_NAME "Part"', "\t*NODE_TM {", "\t\t*TM_ROW0 1 0 0", "\t}"] + before
        out += ["\t*MESH {", "\t\t*MESH_NUMVERTEX %d" % len(verts), "\t\t*MESH_VERTEX_LIST {"]
        out += ["\t\t\t*MESH_VERTEX %d\t%.1f\t%.1f\t%.1f" % ((i,) + v) for i, v in enumerate(verts)]
        out += ["\t\t}", "\t\t*MESH_FACE_LIST {"]
        out += ["\t\t\t*MESH_FACE %d:    A: %d B: %d C: %d AB: 1 BC: 1 CA: 1" % ((i,) + f) for i, f in enumerate(faces)]
        out += ["\t\t}", "\t\t*MESH_TVERTLIST {"]
        out += ["\t\t\t*MESH_TVERT %d\t%.1f\t%.1f\t0.0" % (i, v[0], v[1]) for i, v in enumerate(verts)]
        out += ["\t\t}", "\t\t*MESH_TFACELIST {"]
        out += ["\t\t\t*MESH_TFACE %d\t%d\t%d\t%d" % ((i,) + f) for i, f in enumerate(faces)]
        out += ["\t\t}", "\t\t*MESH_NORMALS {"]
        for i, f in enumerate(faces):
            out.append("\t\t\t*MESH_FACENORMAL %d\t0.0\t0.0\t1.0" % i)
            out += ["\t\t\t\t*MESH_VERTEXNORMAL %d\t0.0\t0.0\t1.0" % k for k in f]
        out += ["\t\t}", "\t}", "\t*MATERIAL_REF %d" % ref, "}"]
    return ("\r\n".join(out) + "\r\n" + extra).encode()


SQUARE = ([(0, 0, 0), (1, 0, 0), (1, 1, 0), (0, 1, 0)], [(0, 1, 2), (0, 2, 3)])
WING = ([(2, 0, 0), (4, 0, 0), (4, 1, 0)], [(2, 1, 0)])
ANIMATION = ["\t*MESH_ANIMATION {", "\t\t*MESH {", "\t\t\t*MESH_VERTEX_LIST {", "\t\t\t}", "\t\t}", "\t}"]
write("ase", "two_parts.ase", ase([SQUARE + (0, []), WING + (0, ANIMATION)]))
write("ase", "group.ase", ase([SQUARE + (0, [])], extra="*GROUP {\r\n*GEOMOBJECT {\r\n\t*MATERIAL_REF 0\r\n}\r\n}\r\n"))
write("ase", "bad_reference.ase", ase([SQUARE + (1, [])]))
write("ase", "truncated.ase", ase([SQUARE + (0, [])])[:400])
write("gui", "sample.gui", b"""; a window with a label and a button
GUIObject "tGUIWindow"
{
   Param "GUI_CENTERED GUI_CENTERED 0.4 0.3 Halvardine"
   ID "sample"
   GUIObject "tGUIStaticWidget" { Param "0.02 0.06 0.3 0.03" Param "Welcome aboard" }
   GUIObject "tGUIStaticWidget" { Param "0.02 0.1 0.3 0.03" BindConsoleVariable "ShowFPS" }
   GUIObject "tGUIPushButton"
   {
      Param "0.25 0.22 0.12 0.05 Close"
      BindConsoleCommand "CloseView sample"
   }
}
""")
write("gui", "console.gui", b'GUIObject "tGUIStdConsole" { Param "0 0 1 0.72 Console" ID "console" }\n')
write("gui", "lists.gui", b'GUIObject "tGUIView" { Param "0 0 GUI_TITLE_WIDTH GUI_TITLE_HEIGHT T"\n'
      b'  TEXTITEM { "one" "two" } FONT { "Lucida Console 8 16" } }\n'
      b'GUIObject "tGUIInputLine" { Param "0.1 0.1 0.3 0.05 Line start NOEDIT" }\n')
write("gui", "broken.gui", b'GUIObject "tGUIRegion" { Param "x 0 1 1" }\nGUIObject "tGUIPanel" {\n')


def zhm(raw, extra=b"", shader=b"Shaders\\plain.shader"):
    """A height-map description naming the fuzz file, a zero byte, the samples."""
    return (b"!!ZHM1.0\nHeightMap\n{\n   HeightData fuzz.txt\n   HScale 0.5\n   TileDetailTexture 92.0\n"
            b"   ShaderName " + shader + b"\n   LowDetailShaderName " + shader + b"\n" + extra + b"}\n\0" + raw)


write("zhm", "side17_8bit.zhm", zhm(bytes((i * 7) & 0xFF for i in range(17 * 17))))
write("zhm", "side9_16bit.zhm", zhm(b"".join(struct.pack("<H", i * 300) for i in range(9 * 9))))
write("zhm", "side1.zhm", zhm(b"\x80"))
write("zhm", "odd_length.zhm", zhm(bytes(17 * 17 + 5)))
write("zhm", "empty_raw.zhm", zhm(b""))
write("zhm", "no_shader.zhm", zhm(bytes(25), shader=b"Shaders\\none.shader"))
write("zhm", "bad_scale.zhm", zhm(bytes(25), extra=b"   HScale high\n"))
write("zhm", "cut_description.zhm", zhm(bytes(25))[:40])


def varint(v):
    out = b""
    while v >= 0x80:
        out += bytes([(v & 0x7F) | 0x80])
        v >>= 7
    return out + bytes([v])


def zigzag(v):
    return varint((v << 1) ^ (-1 if v < 0 else 0) & 0xFFFFFFFF)


def text(s):
    return bytes([len(s)]) + s


# Client to server: hello (magic, version, name, aircraft, gun), inputs, chat, Rcon.
write("netclient", "hello.bin", b"\x01" + struct.pack("<IH", 0x44564C48, 2) + text(b"Red Baron") + b"\x00\x01")
write("netclient", "input.bin", b"\x02" + struct.pack("<IIB", 40, 1000, 3) +
      b"".join(struct.pack("<Hhh", keys, x, y) for keys, x, y in ((1, 0, 0), (3, -12, 40), (511, 4096, -4096))))
write("netclient", "say.bin", b"\x03" + text(b"good fight"))
write("netclient", "rcon.bin", b"\x04" + text(b"secret") + text(b"Set BotCount 2"))
write("netclient", "badmagic.bin", b"\x01" + struct.pack("<IH", 0x44564C49, 1) + text(b"x") + b"\x00\x00")

# Server to client. fuzz_netserver reads a snapshot against tick 10's base
# (aircraft 1, 2, 5, shots 7, 9) when it names that base.
AIRCRAFT = [1, 2, 0, 100, 4096, 4128, 12800, 0, 0, 0, 32767, 1920, 128]


def aircraft_list(entries, removed=()):
    out = varint(len(removed)) + b"".join(varint(i) for i in removed) + varint(len(entries))
    for pilot, mask, values in entries:
        out += varint(pilot) + varint(mask) + b"".join(zigzag(v) for v in values)
    return out


write("netserver", "welcome.bin", b"\x01" + struct.pack("<BIBiif B", 3, 12345, 20, 7, 10, 3600.5, 14)
      + text(b"tLevel") + text(b"tStormyDay") + text(b"Island"))
write("netserver", "pilot.bin", b"\x03" + struct.pack("<BBhhhh", 2, 1, 4, 5, 2, 1) + text(b"Bot 2"))
write("netserver", "score.bin", b"\x05" + struct.pack("<Bhhhh", 2, 3, 4, 1, 0))
write("netserver", "weather.bin", b"\x0A" + text(b"tCloudyDay") + struct.pack("<Bf", 14, 3600.5))
write("netserver", "matchend.bin", b"\x0B" + struct.pack("<B", 2))
write("netserver", "crater.bin", b"\x06" + struct.pack("<ffff", 100.5, 200.25, 33.0, 5.0))
write("netserver", "feed.bin", b"\x08" + text(b"Ace shot Bot 2 (tPlasmaGun)"))
write("netserver", "pings.bin", b"\x0C" + struct.pack("<BBHBH", 2, 1, 12, 4, 250))
write("netserver", "fullsnapshot.bin", b"\x02" + struct.pack("<III", 12, 0, 0)
      + aircraft_list([(1, 0x1FFF, AIRCRAFT), (4, 0x1FFF, AIRCRAFT)]) + aircraft_list([(3, 0xFF, [1, 1, 5, 6, 7, 8, 9, 10])]))
write("netserver", "deltasnapshot.bin", b"\x02" + struct.pack("<III", 12, 10, 999)
      + aircraft_list([(1, 0x10, [64])], removed=(2,)) + aircraft_list([], removed=(7,)))

# Music: the first byte picks the format (0 MID, 1 MOD, 2 S3M, 3 XM, 4 IT, 5 OGG, 6 MP3).
def midi(tracks, fmt=0, division=96):
    chunks = b"".join(b"MTrk" + struct.pack(">I", len(t)) + t for t in tracks)
    return b"MThd" + struct.pack(">IHHH", 6, fmt, len(tracks), division) + chunks


NOTE = b"\x00\x90\x3c\x64\x60\x80\x3c\x40\x00\xff\x2f\x00"
RUNNING = (b"\x00\xff\x51\x03\x07\xa1\x20\x00\xf0\x03\x7e\x09\xf7\x00\xc0\x05"
           b"\x00\x90\x40\x64\x30\x40\x00\x30\x43\x64\x30\x43\x00\x00\xff\x2f\x00")


def tracker_mod():
    header = bytearray(1084)
    header[950] = 1
    header[1080:1084] = b"M.K."
    return bytes(header) + bytes((i * 13) & 0x3F for i in range(64 * 4 * 4))


def s3m():
    h = bytearray(96)
    h[28], h[29] = 0x1A, 0x10
    struct.pack_into("<H", h, 32, 1)
    h[44:48] = b"SCRM"
    return bytes(h)


def xm():
    h = bytearray(80)
    h[0:17] = b"Extended Module: "
    h[37] = 0x1A
    struct.pack_into("<HHH", h, 64, 1, 0, 4)
    return bytes(h)


def it():
    h = bytearray(192)
    h[0:4] = b"IMPM"
    struct.pack_into("<H", h, 32, 1)
    return bytes(h)


def ogg():
    packet = b"\x01vorbis" + struct.pack("<IBIiii", 0, 1, 44100, 0, 128000, 0) + b"\xb8\x01"
    return b"OggS\0\x02" + bytes(20) + bytes([1, len(packet)]) + packet


def mp3(tag=b""):
    frame = b"\xff\xfb\x90\x00" + bytes(413)  # MPEG 1 layer III, 128 kbit/s, 44.1 kHz: 417 bytes
    return tag + frame * 2


write("music", "note.mid", b"\0" + midi([NOTE]))
write("music", "running.mid", b"\0" + midi([RUNNING, NOTE], fmt=1))
write("music", "silent.mid", b"\0" + midi([b"\x00\xff\x2f\x00"]))
write("music", "smpte.mid", b"\0" + midi([NOTE], division=0xE728))
write("music", "pattern.mod", b"\1" + tracker_mod())
write("music", "header.s3m", b"\2" + s3m())
write("music", "header.xm", b"\3" + xm())
write("music", "header.it", b"\4" + it())
write("music", "vorbis.ogg", b"\5" + ogg())
write("music", "frames.mp3", b"\6" + mp3())
write("music", "tagged.mp3", b"\6" + mp3(b"ID3\3\0\0\0\0\0\x05" + bytes(5)))
