// The kinds of fuzz case. Each sets up its own directory, runs programs through the context
// and checks what they leave behind.
#pragma once

#include <filesystem>

#include "case_context.h"

namespace fuzz {

// polysim on a mutated copy of the bundled example, reduced to a small flux.
void polysim_case(CaseContext& context);

// specstore and the tools on a spectrum file with damaged bytes; a write must not make a
// readable spectrum unreadable.
void damaged_file_case(CaseContext& context, const std::filesystem::path& template_dir);

// A target name planted as a symbolic link out of the store: no write may pass through it.
void planted_link_case(CaseContext& context, const std::filesystem::path& template_dir);

// specstore import of a mutated counts text, with mutated options and names.
void import_case(CaseContext& context, const std::filesystem::path& template_dir);

// One of the nine tools with mutated arguments, names, records and corrections files.
void tool_case(CaseContext& context, const std::filesystem::path& template_dir);

}  // namespace fuzz
