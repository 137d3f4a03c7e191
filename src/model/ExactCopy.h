// Deep copies of a route or a track that keep every flag (visibility, presence, marks, the
// bounding box) of the item, its segments and its points: a property dialog's copy that is
// confirmed without a change must put back exactly what was there.
#pragma once
#include <memory>

#include "model/GPX.h"

std::unique_ptr<TGPXrte> ExactCopy(const TGPXrte& route);
std::unique_ptr<TGPXtrk> ExactCopy(const TGPXtrk& track);
