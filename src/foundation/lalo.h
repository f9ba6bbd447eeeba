#pragma once

namespace mrw {

// Latitude and longitude in degrees, north and east positive.
struct Lalo {
    double latitude = 0.0;
    double longitude = 0.0;
    friend bool operator==(const Lalo&, const Lalo&) = default;
};

}  // namespace mrw
