// SPDX-License-Identifier: MIT
#pragma once
// The aircraft.cfg a plan works on: the installed file, its backup and original, and the
// program's clean copy, read once as they are under the build lock; the new livery's entry, and
// which installed livery a build replaces or a command takes out.

#include <string>
#include <string_view>
#include <vector>

#include "app/status.h"
#include "output/build_plan.h"
#include "output/fltsim_entry.h"
#include "output/repaint_inputs.h"

namespace livrano {

// plan.installedCfg, backupCfg, originalCfg and dataCfg, found whatever their case; the clean
// copy's bytes; the installed file's stamp and entries when it exists. Precondition:
// plan.aircraftFolder and plan.dataFolder are set. Refused when the clean copy or the installed
// file cannot be read, or the installed file cannot be taken as aircraft.cfg text.
Status readConfigurations(const RepaintInputs& repaint, BuildPlan& plan);

// The aircraft's own liveries: those its clean copy (plan.dataBytes) lists.
Status ownLiveries(const RepaintInputs& repaint, const BuildPlan& plan, std::vector<FltsimEntry>& own);

// The new livery's entry, flying `sim`, after readConfigurations; the installed livery of its
// title moves from plan.entries to plan.replaced. Refused when the installed aircraft.cfg is
// read-only, the title or a value the user typed would not read back, the livery of the title is
// one of the aircraft's own, or a livery of a new title finds no free slot.
Status planEntry(const RepaintInputs& repaint, const std::string& sim, BuildPlan& plan);

// For taking out or sharing a livery, after readConfigurations: the livery titled `title` (case
// and surrounding blanks ignored) moves from plan.entries to plan.replaced, plan.entryIndex saying
// where it stood, and `own` holds the aircraft's own liveries. Refused when no livery has the
// title or it is one of the aircraft's own.
Status takeLivery(const RepaintInputs& repaint, std::string_view title, BuildPlan& plan,
                  std::vector<FltsimEntry>& own);

// plan.numbers, the N each of plan.entries is written under, and plan.entryNumber, the new entry's.
void numberEntries(BuildPlan& plan);

} // namespace livrano
