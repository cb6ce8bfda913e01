// The sky's numbers: the scattering coefficients against the physical
// formulas, the sun's start direction, the night hours, and the turn of the
// lens flare's glow, and the flare's textures dark outside the discs drawn.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <numbers>

#include "kernel/renderer/atmosphere/atmosphererenderer.h"
#include "kernel/renderer/atmosphere/weather.h"
#include "libraries/effects/lensflare.h"

namespace {

constexpr double Pi = std::numbers::pi;
constexpr double Wavelength[3] = {650e-9, 570e-9, 475e-9};

// Rayleigh: 8 pi^3 (n - 1)^2 / (3 N lambda^4) x (6 + 3 p) / (6 - 7 p), with
// the refraction term 0.006009, depolarisation p = 0.035 and N = 2.545e25,
// shown at 0.88 of its strength.
double Rayleigh(double Lambda) {
    const double P = 0.035;
    return 8 * Pi * Pi * Pi * 0.006009 * 0.006009 / (3 * 2.545e25 * std::pow(Lambda, 4)) * (6 + 3 * P) / (6 - 7 * P) *
           0.88;
}

// Mie: pi (2 pi / lambda)^2 x 1.427426e-17 x the colour's share, shown at
// 0.16 of its strength.
double Mie(double Lambda, double Share) {
    return Pi * std::pow(2 * Pi / Lambda, 2) * 1.427426e-17 * Share * 0.16;
}

TEST(Scattering, CoefficientsFollowTheRayleighAndMieFormulas) {
    const TScatteringCoefficients C = ComputeScattering();
    const float Ray[3] = {C.BetaRay.x, C.BetaRay.y, C.BetaRay.z};
    const float MieC[3] = {C.BetaMie.x, C.BetaMie.y, C.BetaMie.z};
    const double Share[3] = {0.685, 0.679, 0.67};
    for (int I = 0; I < 3; ++I) {
        EXPECT_NEAR(Ray[I], Rayleigh(Wavelength[I]), Rayleigh(Wavelength[I]) * 1e-5) << "colour " << I;
        EXPECT_NEAR(MieC[I], Mie(Wavelength[I], Share[I]), Mie(Wavelength[I], Share[I]) * 1e-5) << "colour " << I;
    }
    EXPECT_EQ(C.BetaRay.w, 0.0f);
    EXPECT_EQ(C.BetaMie.w, 0.0f);
    // Blue scatters most: the sky is blue.
    EXPECT_LT(C.BetaRay.x, C.BetaRay.y);
    EXPECT_LT(C.BetaRay.y, C.BetaRay.z);
    EXPECT_NEAR(C.BetaRay.z / C.BetaRay.x, std::pow(650.0 / 475.0, 4), 1e-3);
}

TEST(Scattering, SunStartsAboveTheHorizonInAUnitDirection) {
    for (double T : {0.0, 1.5, 10.0, 31.4, 1000.0, 86400.0}) {
        const TVector4 D = SunDirectionAt(T);
        EXPECT_NEAR(std::sqrt(D.x * D.x + D.y * D.y + D.z * D.z), 1.0, 1e-5) << T;
        EXPECT_GT(D.z, 0.09f) << T;
        EXPECT_EQ(D.w, 0.0f);
    }
    // At start-up: north, 0.1 up before normalising.
    const TVector4 D = SunDirectionAt(0);
    EXPECT_NEAR(D.x, 0.0, 1e-6);
    EXPECT_NEAR(D.y, 1 / std::sqrt(1.01), 1e-6);
    EXPECT_NEAR(D.z, 0.1 / std::sqrt(1.01), 1e-6);
}

TEST(CloudyDay, NightLastsFromTenInTheEveningUntilSixInTheMorning) {
    EXPECT_FALSE(tCloudyDay::IsNightHour(21));
    EXPECT_TRUE(tCloudyDay::IsNightHour(22));
    EXPECT_TRUE(tCloudyDay::IsNightHour(0));
    EXPECT_TRUE(tCloudyDay::IsNightHour(5));
    EXPECT_FALSE(tCloudyDay::IsNightHour(6));
    EXPECT_FALSE(tCloudyDay::IsNightHour(14));
}

TEST(LensFlare, GlowTurnsWithThePointAndWrapsToAWordAngle) {
    EXPECT_EQ(tLensFlare::GlowAngle(0, 0), 0);
    EXPECT_EQ(tLensFlare::GlowAngle(1, 0), 30);
    EXPECT_EQ(tLensFlare::GlowAngle(0, 1), 65536 - 50);
    EXPECT_EQ(tLensFlare::GlowAngle(512, 384), (512 * 30 - 384 * 50 + 65536) % 65536);
    // Points projected far off the screen wrap instead of overflowing.
    EXPECT_EQ(tLensFlare::GlowAngle(491520, 0), 0);
    EXPECT_EQ(tLensFlare::GlowAngle(491521, 0), 30);
    EXPECT_EQ(tLensFlare::GlowAngle(-491521, 0), 65536 - 30);
    tLensFlare::GlowAngle(3e30f, -3e30f);
    EXPECT_EQ(tLensFlare::GlowAngle(NAN, 0), 0);
}

TEST(LensFlare, EveryTextureIsBlackOutsideTheCircleItsDiscsAreDrawnOver) {
    const char* Source = std::getenv("HALVARDINE_SOURCE_DIR");  // set by ctest
    const char* Files[tLensFlare::Groups] = {"glow", "disc", "ring", "halo", "spot"};
    for (int32_t Group = 0; Group < tLensFlare::Groups; ++Group) {
        std::ifstream In(std::string(Source ? Source : ".") + "/Data/Textures/LensFlare/" + Files[Group] + ".bmp");
        const std::string Bmp{std::istreambuf_iterator<char>(In), {}};
        ASSERT_GT(Bmp.size(), 54u) << Files[Group];  // square, 24-bit
        const int64_t Offset = uint8_t(Bmp[10]) | uint8_t(Bmp[11]) << 8, W = uint8_t(Bmp[18]) | uint8_t(Bmp[19]) << 8;
        const int64_t Row = (W * 3 + 3) & ~3, Edge = std::lround(tLensFlare::LitRadius[Group] * W);
        ASSERT_GE(int64_t(Bmp.size()), Offset + Row * W) << Files[Group];
        int64_t Lit = 0;  // twice the distance of a lit texel's centre from the middle, squared
        for (int64_t Y = 0; Y < W; ++Y)
            for (int64_t X = 0; X < W; ++X)
                if (Bmp.compare(Offset + Y * Row + X * 3, 3, std::string(3, '\0')) != 0)
                    Lit = std::max(Lit, (2 * X + 1 - W) * (2 * X + 1 - W) + (2 * Y + 1 - W) * (2 * Y + 1 - W));
        EXPECT_LE(Lit, Edge * Edge) << Files[Group];
    }
}

}  // namespace
