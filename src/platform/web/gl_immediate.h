// Put before every file of the web build: the program's immediate-mode calls go to the
// back-end's batches (immediate_mode.h), which the browser's GL then draws from arrays.
#pragma once

#define glBegin WebBegin
#define glEnd WebEnd
#define glVertex3f WebVertex3f
#define glColor3f WebColor3f
#define glColor4f WebColor4f
#define glTexCoord2f WebTexCoord2f
#define glNormal3f WebNormal3f
