// The data of the ten coefficient sets, byte for byte as the driver expects
// them. Treated as opaque: never edited, never read back.
#include "equalizer/CoefficientSets.h"

namespace equalizer {

namespace {
constexpr const char* kRock =
    "00,00,00,00,60,7e,9e,c1,01,00,02,00,01,00,a0,7f,5f,c0,4f,00,00,00,b1,ff,3f,7f,bc,c0,c2,00,00,00,3e,ff,78,7e,77,c1,1f,01,00,00,e1,fe,d6,7c,e5,c2,5c,02,00,00,a4,fd,49,79,aa,c5,67,04,00,00,99,fb,20,71,df,ca,64,08,00,00,9c,f7,33,5d,30,d4,7e,0f,00,00,82,f0,eb,2b,ca,e3,d3,1b,00,00,2d,e4,40,d7,1d,f0,c5,2a,00,00,3b,d5,60,7e,9e,c1,01,00,02,00,01,00,a0,7f,5f,c0,4f,00,00,00,b1,ff,3f,7f,bc,c0,c2,00,00,00,3e,ff,78,7e,77,c1,1f,01,00,00,e1,fe,d6,7c,e5,c2,5c,02,00,00,a4,fd,49,79,aa,c5,67,04,00,00,99,fb,20,71,df,ca,64,08,00,00,9c,f7,33,5d,30,d4,7e,0f,00,00,82,f0,eb,2b,ca,e3,d3,1b,00,00,2d,e4,40,d7,1d,f0,c5,2a,00,00,3b,d5,14,00,00,00,74,79,1a,69,05,5c,ab,4b,3d,3c,80,30,8b,37,96,3e,35,52,db,41,74,79,1a,69,05,5c,ab,4b,3d,3c,80,30,8b,37,96,3e,35,52,db,41";
constexpr const char* kClassical =
    "00,00,00,00,60,7e,9e,c1,01,00,02,00,01,00,a0,7f,5f,c0,4f,00,00,00,b1,ff,3f,7f,bc,c0,c2,00,00,00,3e,ff,78,7e,77,c1,1f,01,00,00,e1,fe,d6,7c,e5,c2,5c,02,00,00,a4,fd,49,79,aa,c5,67,04,00,00,99,fb,20,71,df,ca,64,08,00,00,9c,f7,33,5d,30,d4,7e,0f,00,00,82,f0,eb,2b,ca,e3,d3,1b,00,00,2d,e4,40,d7,1d,f0,c5,2a,00,00,3b,d5,60,7e,9e,c1,01,00,02,00,01,00,a0,7f,5f,c0,4f,00,00,00,b1,ff,3f,7f,bc,c0,c2,00,00,00,3e,ff,78,7e,77,c1,1f,01,00,00,e1,fe,d6,7c,e5,c2,5c,02,00,00,a4,fd,49,79,aa,c5,67,04,00,00,99,fb,20,71,df,ca,64,08,00,00,9c,f7,33,5d,30,d4,7e,0f,00,00,82,f0,eb,2b,ca,e3,d3,1b,00,00,2d,e4,40,d7,1d,f0,c5,2a,00,00,3b,d5,14,00,00,00,35,52,f0,4e,ab,4b,65,48,7a,55,d9,32,3d,3c,ab,4b,20,45,e4,39,35,52,f0,4e,ab,4b,65,48,7a,55,d9,32,3d,3c,ab,4b,20,45,e4,39";
constexpr const char* kPop =
    "00,00,00,00,60,7e,9e,c1,01,00,02,00,01,00,a0,7f,5f,c0,4f,00,00,00,b1,ff,3f,7f,bc,c0,c2,00,00,00,3e,ff,78,7e,77,c1,1f,01,00,00,e1,fe,d6,7c,e5,c2,5c,02,00,00,a4,fd,49,79,aa,c5,67,04,00,00,99,fb,20,71,df,ca,64,08,00,00,9c,f7,33,5d,30,d4,7e,0f,00,00,82,f0,eb,2b,ca,e3,d3,1b,00,00,2d,e4,40,d7,1d,f0,c5,2a,00,00,3b,d5,60,7e,9e,c1,01,00,02,00,01,00,a0,7f,5f,c0,4f,00,00,00,b1,ff,3f,7f,bc,c0,c2,00,00,00,3e,ff,78,7e,77,c1,1f,01,00,00,e1,fe,d6,7c,e5,c2,5c,02,00,00,a4,fd,49,79,aa,c5,67,04,00,00,99,fb,20,71,df,ca,64,08,00,00,9c,f7,33,5d,30,d4,7e,0f,00,00,82,f0,eb,2b,ca,e3,d3,1b,00,00,2d,e4,40,d7,1d,f0,c5,2a,00,00,3b,d5,14,00,00,00,96,3e,96,3e,96,3e,20,45,65,48,35,52,ab,4b,e4,39,32,35,96,3e,96,3e,96,3e,96,3e,20,45,65,48,35,52,ab,4b,e4,39,32,35,96,3e";
constexpr const char* kJazz =
    "00,00,00,00,60,7e,9e,c1,01,00,02,00,01,00,a0,7f,5f,c0,4f,00,00,00,b1,ff,3f,7f,bc,c0,c2,00,00,00,3e,ff,78,7e,77,c1,1f,01,00,00,e1,fe,d6,7c,e5,c2,5c,02,00,00,a4,fd,49,79,aa,c5,67,04,00,00,99,fb,20,71,df,ca,64,08,00,00,9c,f7,33,5d,30,d4,7e,0f,00,00,82,f0,eb,2b,ca,e3,d3,1b,00,00,2d,e4,40,d7,1d,f0,c5,2a,00,00,3b,d5,60,7e,9e,c1,01,00,02,00,01,00,a0,7f,5f,c0,4f,00,00,00,b1,ff,3f,7f,bc,c0,c2,00,00,00,3e,ff,78,7e,77,c1,1f,01,00,00,e1,fe,d6,7c,e5,c2,5c,02,00,00,a4,fd,49,79,aa,c5,67,04,00,00,99,fb,20,71,df,ca,64,08,00,00,9c,f7,33,5d,30,d4,7e,0f,00,00,82,f0,eb,2b,ca,e3,d3,1b,00,00,2d,e4,40,d7,1d,f0,c5,2a,00,00,3b,d5,14,00,00,00,d9,32,e4,39,db,41,65,48,c0,58,f0,4e,96,3e,d9,32,28,2e,32,35,d9,32,e4,39,db,41,65,48,c0,58,f0,4e,96,3e,d9,32,28,2e,32,35";
constexpr const char* kDance =
    "00,00,00,00,60,7e,9e,c1,01,00,02,00,01,00,a0,7f,5f,c0,4f,00,00,00,b1,ff,3f,7f,bc,c0,c2,00,00,00,3e,ff,78,7e,77,c1,1f,01,00,00,e1,fe,d6,7c,e5,c2,5c,02,00,00,a4,fd,49,79,aa,c5,67,04,00,00,99,fb,20,71,df,ca,64,08,00,00,9c,f7,33,5d,30,d4,7e,0f,00,00,82,f0,eb,2b,ca,e3,d3,1b,00,00,2d,e4,40,d7,1d,f0,c5,2a,00,00,3b,d5,60,7e,9e,c1,01,00,02,00,01,00,a0,7f,5f,c0,4f,00,00,00,b1,ff,3f,7f,bc,c0,c2,00,00,00,3e,ff,78,7e,77,c1,1f,01,00,00,e1,fe,d6,7c,e5,c2,5c,02,00,00,a4,fd,49,79,aa,c5,67,04,00,00,99,fb,20,71,df,ca,64,08,00,00,9c,f7,33,5d,30,d4,7e,0f,00,00,82,f0,eb,2b,ca,e3,d3,1b,00,00,2d,e4,40,d7,1d,f0,c5,2a,00,00,3b,d5,14,00,00,00,ff,7f,5f,6c,8f,62,f0,4e,96,3e,d9,32,8b,37,96,3e,c0,58,96,3e,ff,7f,5f,6c,8f,62,f0,4e,96,3e,d9,32,8b,37,96,3e,c0,58,96,3e";
constexpr const char* kFlat =
    "00,00,00,00,60,7e,9e,c1,01,00,02,00,01,00,a0,7f,5f,c0,4f,00,00,00,b1,ff,3f,7f,bc,c0,c2,00,00,00,3e,ff,78,7e,77,c1,1f,01,00,00,e1,fe,d6,7c,e5,c2,5c,02,00,00,a4,fd,49,79,aa,c5,67,04,00,00,99,fb,20,71,df,ca,64,08,00,00,9c,f7,33,5d,30,d4,7e,0f,00,00,82,f0,eb,2b,ca,e3,d3,1b,00,00,2d,e4,40,d7,1d,f0,c5,2a,00,00,3b,d5,60,7e,9e,c1,01,00,02,00,01,00,a0,7f,5f,c0,4f,00,00,00,b1,ff,3f,7f,bc,c0,c2,00,00,00,3e,ff,78,7e,77,c1,1f,01,00,00,e1,fe,d6,7c,e5,c2,5c,02,00,00,a4,fd,49,79,aa,c5,67,04,00,00,99,fb,20,71,df,ca,64,08,00,00,9c,f7,33,5d,30,d4,7e,0f,00,00,82,f0,eb,2b,ca,e3,d3,1b,00,00,2d,e4,40,d7,1d,f0,c5,2a,00,00,3b,d5,14,00,00,00,96,3e,96,3e,96,3e,96,3e,96,3e,96,3e,96,3e,96,3e,96,3e,96,3e,96,3e,96,3e,96,3e,96,3e,96,3e,96,3e,96,3e,96,3e,96,3e,96,3e";
constexpr const char* kPhilipsDSS330 =
    "F0,FF,FF,FF,09,76,e9,c8,87,fd,7d,02,00,00,67,7f,92,c0,57,00,a9,ff,00,00,4a,52,97,e5,55,f1,cd,09,00,00,00,00,00,00,00,40,00,00,00,00,00,00,00,00,a4,24,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,09,76,e9,c8,87,fd,7d,02,00,00,67,7f,92,c0,57,00,a9,ff,00,00,4a,52,97,e5,55,f1,cd,09,00,00,00,00,00,00,00,40,00,00,00,00,00,00,00,00,a4,24,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,14,00,00,00,ff,7f,ff,7f,ff,7f,ff,7f,ff,7f,ff,7f,ff,7f,ff,7f,ff,7f,ff,7f,ff,7f,ff,7f,ff,7f,ff,7f,ff,7f,ff,7f,ff,7f,ff,7f,ff,7f,ff,7f";
constexpr const char* kSonigistixMonsoonMM700 =
    "F0,FF,FF,FF,c1,7f,3c,c0,e2,ff,1e,00,00,00,13,14,8a,fe,56,8e,9c,16,00,00,00,00,00,00,0e,18,00,00,00,00,00,00,00,00,0e,18,00,00,00,00,00,00,00,00,0e,18,00,00,00,00,00,00,00,00,0e,18,00,00,00,00,00,00,00,00,0e,18,00,00,00,00,00,00,00,00,0e,18,00,00,00,00,00,00,00,00,0e,18,00,00,00,00,00,00,00,00,0e,18,00,00,00,00,c1,7f,3c,c0,e2,ff,1e,00,00,00,13,14,8a,fe,56,8e,9c,16,00,00,00,00,00,00,0e,18,00,00,00,00,00,00,00,00,0e,18,00,00,00,00,00,00,00,00,0e,18,00,00,00,00,00,00,00,00,0e,18,00,00,00,00,00,00,00,00,0e,18,00,00,00,00,00,00,00,00,0e,18,00,00,00,00,00,00,00,00,0e,18,00,00,00,00,00,00,00,00,0e,18,00,00,00,00,14,00,00,00,ff,7f,ff,7f,ff,7f,ff,7f,ff,7f,ff,7f,ff,7f,ff,7f,ff,7f,ff,7f,ff,7f,ff,7f,ff,7f,ff,7f,ff,7f,ff,7f,ff,7f,ff,7f,ff,7f,ff,7f";
constexpr const char* kYamahaYSTM100 =
    "F0,FF,FF,FF,cf,6a,6d,d1,37,fc,4d,04,00,00,28,7f,d0,c0,31,00,ce,ff,00,00,68,7f,97,c0,6d,ff,92,00,00,00,6d,26,55,fa,9e,a7,01,1e,00,00,4a,52,97,e5,52,f3,79,08,00,00,00,00,00,00,a4,29,00,00,00,00,00,00,00,00,a4,29,00,00,00,00,00,00,00,00,a4,29,00,00,00,00,00,00,00,00,a4,29,00,00,00,00,00,00,00,00,a4,29,00,00,00,00,cf,6a,6d,d1,37,fc,4d,04,00,00,28,7f,d0,c0,31,00,ce,ff,00,00,68,7f,97,c0,6d,ff,92,00,00,00,6d,26,55,fa,9e,a7,01,1e,00,00,4a,52,97,e5,52,f3,79,08,00,00,00,00,00,00,a4,29,00,00,00,00,00,00,00,00,a4,29,00,00,00,00,00,00,00,00,a4,29,00,00,00,00,00,00,00,00,a4,29,00,00,00,00,00,00,00,00,a4,29,00,00,00,00,14,00,00,00,ff,7f,ff,7f,ff,7f,ff,7f,ff,7f,ff,7f,ff,7f,ff,7f,ff,7f,ff,7f,ff,7f,ff,7f,ff,7f,ff,7f,ff,7f,ff,7f,ff,7f,ff,7f,ff,7f,ff,7f";
constexpr const char* kAltecLansingADA880 =
    "F0,FF,FF,FF,00,00,58,da,4c,ed,f4,00,00,00,17,78,e0,c6,93,fe,6f,01,00,00,a5,7f,5a,c0,d3,ff,2d,00,00,00,22,53,07,e5,db,f5,c7,06,00,00,00,00,00,00,00,40,00,00,00,00,00,00,00,00,5d,26,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,58,da,4c,ed,f4,00,00,00,17,78,e0,c6,93,fe,6f,01,00,00,a5,7f,5a,c0,d3,ff,2d,00,00,00,22,53,07,e5,db,f5,c7,06,00,00,00,00,00,00,00,40,00,00,00,00,00,00,00,00,5d,26,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,14,00,00,00,ff,7f,ff,7f,ff,7f,ff,7f,ff,7f,ff,7f,ff,7f,ff,7f,ff,7f,ff,7f,ff,7f,ff,7f,ff,7f,ff,7f,ff,7f,ff,7f,ff,7f,ff,7f,ff,7f,ff,7f";
}  // namespace

const char* name(EqCurve c) {
    switch (c) {
        case EqCurve::Rock: return "Rock";
        case EqCurve::Classical: return "Classical";
        case EqCurve::Pop: return "Pop";
        case EqCurve::Jazz: return "Jazz";
        case EqCurve::Dance: return "Dance";
        case EqCurve::Flat: return "Flat";
    }
    return "";
}

const char* name(SpeakerModel m) {
    switch (m) {
        case SpeakerModel::PhilipsDSS330: return "Philips DSS330";
        case SpeakerModel::SonigistixMonsoonMM700: return "Sonigistix Monsoon MM-700";
        case SpeakerModel::YamahaYSTM100: return "Yamaha YSTM100";
        case SpeakerModel::AltecLansingADA880: return "Altec Lansing ADA880";
    }
    return "";
}

const char* hexText(EqCurve c) {
    switch (c) {
        case EqCurve::Rock: return kRock;
        case EqCurve::Classical: return kClassical;
        case EqCurve::Pop: return kPop;
        case EqCurve::Jazz: return kJazz;
        case EqCurve::Dance: return kDance;
        case EqCurve::Flat: return kFlat;
    }
    return "";
}

const char* hexText(SpeakerModel m) {
    switch (m) {
        case SpeakerModel::PhilipsDSS330: return kPhilipsDSS330;
        case SpeakerModel::SonigistixMonsoonMM700: return kSonigistixMonsoonMM700;
        case SpeakerModel::YamahaYSTM100: return kYamahaYSTM100;
        case SpeakerModel::AltecLansingADA880: return kAltecLansingADA880;
    }
    return "";
}

}  // namespace equalizer
