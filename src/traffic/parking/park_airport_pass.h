#pragma once
// The park airport: chosen on the ground (the closest airport with an airport file) or in the air
// (the nearest listed airport in range and below the height), its file read into the stands, and
// left with all its parking when the user flies out of sight or nears another listed airport. Main
// worker only.

#include <string>

#include "airports/airport.h"
#include "foundation/lalo.h"

namespace mrw {

// The park-airport pass, every 16 seconds; `initial` for the pass at the start of the main loop.
void lf_checkParkAirport(bool initial);
// First step of a calculation: the parking controls off and the live callsigns collected.
void lf_beginParkingCalculation(bool showMessage);
// Reads the park airport's file; the empty text on success, else the error text.
std::string lf_readParkedFile();
// Removes all static parking and the live aircraft on the ground, then forgets the park airport.
void lf_clearParking();
// Forgets the park airport (saving its learned file when its file was read).
void lf_onParkAirportChanged();

// Makes the airport the park airport (an empty code: none) and publishes it to the Traffic Reader.
void gf_setParkAirport(const Airport& airport);
// Publishes the park airport's position and elevation to the Traffic Reader; none without one.
void gf_publishParkAirport();

}  // namespace mrw
