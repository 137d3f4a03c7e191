#include "model/ExactCopy.h"

namespace {

// Assign copies the fields, not the list's and points' own flags: those come over here.
void copyFlags(TGPXwptList& target, const TGPXwptList& source) {
  target.Visible = source.Visible;
  target.Present = source.Present;
  target.BBox = source.BBox;
  for (int i = 0; i < source.Count() && i < target.Count(); ++i) {
    target.GetPoint(i)->Mark = source.GetPoint(i)->Mark;
    target.GetPoint(i)->Visible = source.GetPoint(i)->Visible;
  }
}

}  // namespace

std::unique_ptr<TGPXrte> ExactCopy(const TGPXrte& route) {
  auto copy = std::make_unique<TGPXrte>();
  copy->Assign(route);
  copyFlags(*copy, route);
  return copy;
}

std::unique_ptr<TGPXtrk> ExactCopy(const TGPXtrk& track) {
  auto copy = std::make_unique<TGPXtrk>();
  copy->Assign(track);
  copy->Visible = track.Visible;
  for (int i = 0; i < track.Count(); ++i) copyFlags(*copy->GetSegment(i), *track.GetSegment(i));
  return copy;
}
