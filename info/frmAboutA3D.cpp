#include "info/frmAboutA3D.h"

#include "ui/Images.h"

// Where the list of A3D titles is kept; joined to the texts at compile time.
#define QM_TITLES_SITE "an A3D enthusiasts' web site"

frmAboutA3D::frmAboutA3D(const platform::Services&, ui::UiServices ui) : ui::Form("frmAboutA3D", ui) {
    setCaption("About A3D");
    setClientSize(6600, 6735);
    centreOnScreen = true;

    // Layout, in twips, top to bottom.
    Image1.place("", {120, 120, 870, 1455});
    Image1.image = ui::IMG_A3D_LOGO;
    Label4.place("A3D Audio By Aureal.Inc", {1110, 120, 5370, 255});
    Label5.place("For an up-to-date list of A3D supported software titles please visit " QM_TITLES_SITE ".",
                 {1110, 600, 5370, 780});
    Label5.alignCenter = true;
    Label1.place(
        "Aureal 3D (A3D) creates sounds the way they come at use in real life: from all directions and in three "
        "dimensions.  In the real world, we use the split-second differences between what each ear hears to figure "
        "out where sounds are coming from.  A3D digitally replicates those same split-second differences to bring "
        "virtual worlds to life with a highly realistic, interactive and immersive audio experience.  A3D works "
        "using only a single pair of ordinary speakers or headphones.",
        {120, 1695, 6360, 1800});
    Label2.place(
        "A3D technology was developed in collaboration with NASA and is backed by over a decade if psycho-acoustic "
        "research.  Besides your PC desktop, A3D technology is also used in places like jet fighter cockpits, theme "
        "park rides, million-dollar flight and driving simulators, Virtual Reality installations and recording "
        "studios to create 3D effects for major movie soundtracks.",
        {120, 3615, 6360, 1560});
    Label3.place(
        "Interactive applications such as PC games, 3D Internet sites and computer simulations "
        "can be designed to take advantage of A3D.  Visit " QM_TITLES_SITE " for an up-to-date list of A3D "
        "supported titles.",
        {120, 5295, 6360, 780});
    cmdOK.place("OK", {5280, 6240, 1200, 375});
    cmdOK.isDefault = true;
    cmdOK.isCancel = true;

    cmdOK.Click = [this] { cmdOK_Click(); };
}

void frmAboutA3D::cmdOK_Click() { giveBack(); }

#undef QM_TITLES_SITE
