// A solid sphere drawn from a display list built the first time its radius is asked for.
#pragma once

void SolidSphere(double radius);
