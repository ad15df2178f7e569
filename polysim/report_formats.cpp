// The format texts that polysim's and monosim's result files share, parsed once each.
#include "polysim/report_formats.h"

#include "engine/potential.h"

namespace polysim {

using textio::Format;

const Format& seed_line() {
  static const Format format("(' Seed      :  ',A)");
  return format;
}

const Format& start_positions() {
  static const Format format("(' Ions impinge from ',A,' starting positions.')");
  return format;
}

const Format& incidence() {
  static const Format format(
      "(' Polar angle (with respect to normal)   =  ',F7.2,/,' Azimuthal angle (with resp to "
      "x-axis)  =  ',F7.2)");
  return format;
}

const Format& potential_line() {
  static const Format format("(' ',A,' scattering potential')");
  return format;
}

const Format& unconnected_legs() {
  static const Format format("(' In and outgoing ion trajectories are not connected.')");
  return format;
}

const Format& target_heading() {
  static const Format format(
      "(/,/,' TARGET PARAMETERS:',/,' ------------------',/,' Atom-type  atomic number  atomic "
      "mass')");
  return format;
}

const Format& type_line() {
  static const Format format("(5X,I1,13X,I2,9X,F7.2)");
  return format;
}

const Format& surface_cell() {
  static const Format format(
      "(/,' X-repeat distance =  ',F8.3,/,' Y-repeat distance =  ',F8.3,/,' Nr. of atoms per "
      "layer =',F6.1)");
  return format;
}

const Format& shadowing_heading() {
  static const Format format(
      "(/,/,' SHADOWING OUTPUT:',/,' -----------------',/,/,' Atom Type     X        Y        Z  "
      "    sigma-X',' sigma-Y sigma-Z        Hitting probability',/,' ')");
  return format;
}

const Format& atom_line() {
  static const Format format("(1X,I3,4X,I1,3(1X,F8.3),2X,3(2X,F6.3),15X,F7.3)");
  return format;
}

std::string_view potential_name(std::int32_t selector) {
  if (selector == engine::kMoliere) return "Moliere";
  if (selector == engine::kUniversal) return "Biersack universal";
  return "bare Coulomb";
}

}  // namespace polysim
