// The help texts of the programs.
#include "cli/programs.h"

#include <array>
#include <stdexcept>
#include <string>

namespace cli {

namespace {

const std::array<ProgramHelp, 18> kPrograms = {{
    {"polysim", "polysim",
     "Multi-model Monte-Carlo simulation of ion shadowing and blocking at a crystal surface.\n"
     "Reads the pointer file polysim1.io in the working directory (line 1: the simulation\n"
     "input file, line 2: the output root), then the simulation input. Writes the status file\n"
     "<root>.status and one result file <root>.0001, <root>.0002, ... per model pair.\n"
     "IONBEAM_SEED fixes the random seed, OMP_NUM_THREADS the thread count.",
     "polysim"},
    {"monosim", "monosim",
     "Single-model Monte-Carlo simulation of shadowing and blocking with anisotropic and\n"
     "correlated vibrations. Reads monosim1.io in the working directory (line 1: the\n"
     "simulation input file, line 2: the result file), writes the result file and out.status.",
     "monosim"},
    {"structfit", "structfit [--resume]",
     "Fits structure and vibration parameters of a surface to measured blocking curves.\n"
     "Reads the set-up file bfgsin.dat in the working directory, and the experiment and base\n"
     "files it names. --resume continues a fit from its restart file fort.69.",
     "structfit"},
    {"polysim-mpi", "mpirun -np N polysim-mpi",
     "polysim on the N processes of an MPI job: rank 0 reads polysim1.io and the input and\n"
     "writes the status and result files; the ions of every run are shared out among the\n"
     "ranks. The files of a fixed IONBEAM_SEED are those of polysim, at any N.",
     "Running on a cluster (MPI)"},
    {"monosim-mpi", "mpirun -np N monosim-mpi",
     "monosim on the N processes of an MPI job: rank 0 reads monosim1.io and the input and\n"
     "writes the result file and out.status; the ions of every run are shared out among the\n"
     "ranks. The files of a fixed IONBEAM_SEED are those of monosim, at any N.",
     "Running on a cluster (MPI)"},
    {"structfit-mpi", "mpirun -np N structfit-mpi [--resume]",
     "structfit on the N processes of an MPI job: rank 0 reads bfgsin.dat, runs the fit and\n"
     "writes every log, result and skew file; the ions of every embedded simulation are\n"
     "shared out among the ranks. A fixed IONBEAM_SEED gives the files of structfit.",
     "Running on a cluster (MPI)"},
    {"slabgen", "slabgen [--monosim] description [input_file]",
     "Writes a complete simulation input from a short crystal description (key = value lines:\n"
     "lattice, face, layers, elements, vibrations, beam, detection scan, fluxes, potential,\n"
     "model scans). Without input_file the input goes to standard output and the report to\n"
     "standard error; with it the report goes to standard output. --monosim writes monosim's\n"
     "variant. A structfit base file is an ordinary polysim input.",
     "slabgen"},
    {"ionplot", "ionplot [--svg] [--csv file] [--size WxH] [--title text] kind output files...",
     "Draws the results of the suite with gnuplot into output (PNG, or SVG with --svg or an\n"
     "output ending in .svg); --csv also writes the plotted numbers. Kinds:\n"
     "  blocking [--by total|element|layer] result_file...   blocking curves, overlaid\n"
     "  hitting result_file...                 hitting probability per layer\n"
     "  skew skew_file...                      structfit's measured against simulated curve\n"
     "  rfactor rfactor_file                   structfit's rfactor.dat or rfactor2.dat\n"
     "  spectrum name                          a 2-D spectrum of the experiment store\n"
     "                                         (EXPERIMENTDIR) as a heat map",
     "ionplot"},
    {"warpcorr", "warpcorr from_spec to_spec [correction_file]",
     "Straightens a detector spectrum into the fixed 163 x 119 window with the measured\n"
     "distortion tables of the detector, optionally with fine corrections from a file.",
     "`warpcorr` and `stepcorr`: straightening into the detector window", true},
    {"stepcorr", "stepcorr from_spec to_spec [correction_file]",
     "Cuts the fixed 163 x 119 window out of a detector spectrum with flat start rows,\n"
     "optionally with row corrections from a file.",
     "`warpcorr` and `stepcorr`: straightening into the detector window", true},
    {"kinecorr", "kinecorr from_spec to_spec beam_energy beam_mass target_mass [angle_offset]",
     "Divides the elastic kinematic factor out of the energy axis of a detector spectrum,\n"
     "column by column.",
     "`kinecorr`: kinematic correction of the energy axis", true},
    {"flatcorr", "flatcorr from_spec to_spec",
     "Flattens the parabolic fall-off of the detector's sensitivity along the energy axis.",
     "`flatcorr`: intensity flattening along the energy axis", true},
    {"binshrink", "binshrink from_spec to_spec [factor]",
     "Sums groups of factor adjacent energy channels (default 2).",
     "`binshrink`: summing energy channels", true},
    {"histsum", "histsum fromspec [fromspec ...] tospec",
     "Stitches several spectra into one, each placed where its calibration puts it.",
     "`histsum`: stitching spectra together", true},
    {"regioncopy", "regioncopy fromspec tospec [base range [base range]]",
     "Copies a window of a spectrum into a new spectrum whose channels start at 0.",
     "`regioncopy`: window copy", true},
    {"histcopy", "histcopy fromspec tospec",
     "Copies a spectrum with every count replaced by the largest count minus the count.",
     "`histcopy`: complement copy", true},
    {"histtext", "histtext fromspec outfile [anything ...]",
     "Writes a one-dimensional spectrum with its information records to a text file.",
     "`histtext`: a spectrum as text", true},
    {"specstore",
     "specstore list | info NAME | import NAME FILE [--base B1[,B2]] [--type CODE] "
     "[--layout L] | export NAME | record NAME KIND N [TEXT]",
     "Brings spectra into the experiment store from text, takes them out again, and shows\n"
     "their descriptions and records.",
     "`specstore`: spectra in and out of the store", true},
}};

}  // namespace

const ProgramHelp& program_help(std::string_view name) {
  for (const ProgramHelp& p : kPrograms)
    if (p.name == name) return p;
  throw std::out_of_range("no program named " + std::string(name));
}

}  // namespace cli
