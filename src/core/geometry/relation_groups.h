// Generated relation groups: small configurations (right triangle, triangle,
// circular sector, circular segment, quadrilateral inscribed in a circle)
// shared by several figures, evaluated on the names each figure gives them.
#pragma once

#include <string_view>

#include "geometry/geo_solver.h"

namespace qz {

/// Right triangle: legs a, b, hypotenuse h, angles alpha (opposite a) and
/// beta (opposite b) in degrees, area s, perimeter p. Rounds of the angle
/// step and the 32 combinations while they bring new values.
void RightTriangle(GeoSolver& solver, std::string_view a, std::string_view b, std::string_view h,
                   std::string_view alpha, std::string_view beta, std::string_view s, std::string_view p);
/// Triangle: sides s1, s2, s3, opposite angles A, B, C, area s, height h on s1.
void Triangle(GeoSolver& solver, std::string_view s1, std::string_view s2, std::string_view s3,
              std::string_view angleA, std::string_view angleB, std::string_view angleC, std::string_view s,
              std::string_view h);
/// Circular sector: radius r, angle a (degrees), arc p, area s.
void Sector(GeoSolver& solver, std::string_view r, std::string_view a, std::string_view p,
            std::string_view s);
/// Circular segment: radius, central angle and its half and complement,
/// chord and half chord, arc, height, centre-to-chord distance, segment area,
/// half-triangle area, sector area.
void Segment(GeoSolver& solver, std::string_view r, std::string_view a, std::string_view a1,
             std::string_view a2, std::string_view chord, std::string_view halfChord, std::string_view arc,
             std::string_view h, std::string_view ht, std::string_view s, std::string_view sst,
             std::string_view ssc);
/// Quadrilateral inscribed in a circle of radius R with sides L1..L4 and area
/// S: gives S1..S4, the signed areas of the triangles the centre forms with
/// the sides, choosing the sign pattern whose sum is nearest to S.
void CyclicQuad(GeoSolver& solver);

}  // namespace qz
