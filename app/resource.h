/* Resource numbers shared by app/quillmere.rc and the code. */
#pragma once

/* The program's icon; the windows load it by this number too. */
#define IDI_QUILLMERE 1

/* The Control Panel item's name and the line Control Panel shows for it. */
#define IDS_APPLET_NAME 1
#define IDS_APPLET_INFO 2
