#pragma once
// Data masks of QR symbols and the choice among them.
#include "symbol/encoders/QrPlacement.h"

namespace lx {

// Number of mask patterns a model offers: 8, or 4 for Micro QR.
int QrMaskCount(int model);

// Writes the format information for formatMask, then XORs mask pattern
// 0..7 over the data modules of the symbol layer into the result layer.
void QrApplyMask(QrWorkMatrix& m, int pattern, int formatMask);

// Applies the requested mask, or with -1 (or a digit outside the model's
// range) the best one by the scoring below. Returns the mask number used.
int QrSelectMask(QrWorkMatrix& m, int request);

// Number of 2 x 2 windows of the result that are all dark or all light.
int QrCountBlocks(const QrWorkMatrix& m);

// Penalty of the result: runs of five or more modules, finder-like runs
// 1:1:3:1:1 beside a wide light run, and the deviation of the dark share.
int QrRunPenalty(const QrWorkMatrix& m);

// Micro QR: 16 x the smaller plus the larger of the dark counts along the
// right column and the bottom row.
int QrMicroMaskScore(const QrWorkMatrix& m);

} // namespace lx
