// Deep copies of document items: every copy is a new object tree sharing nothing with its
// source (undo steps, property dialogs, duplicates, clipboard).
#include "model/GPX.h"

namespace {

// Appends a copy of each of the source's items. The count is fixed first: the source may be
// the target itself.
template <class T>
void appendCopies(OwnedList<T>& target, const OwnedList<T>& source) {
  const int n = source.Count();
  for (int i = 0; i < n; ++i) {
    auto copy = std::make_unique<T>();
    copy->Assign(*source.At(i));
    target.Add(std::move(copy));
  }
}

// Routes and tracks describe themselves with the same fields.
template <class RouteOrTrack>
void copyDescription(RouteOrTrack& target, const RouteOrTrack& source) {
  target.name = source.name;
  target.cmt = source.cmt;
  target.desc = source.desc;
  target.src = source.src;
  target.link.Assign(source.link);
  target.number = source.number;
  target.type = source.type;
  target.extensions = source.extensions;
  target.Style.Assign(source.Style);
}

}  // namespace

void TGPXwpt::Assign(const TGPXwpt& source) {
  if (&source == this) return;
  TPoint4D2::Assign(source);
  if (!source.data_)
    data_.reset();
  else if (data_)
    *data_ = *source.data_;
  else
    data_ = std::make_unique<TGPXwptData>(*source.data_);
}

void TGPXwptList::AppendCopies(const TGPXwptList& source, int first) {
  const int n = source.Count();  // fixed first: the source may be this very list
  if (first < 0) first = 0;
  if (first >= n) return;
  Reserve(Count() + (n - first));
  for (int i = first; i < n; ++i) {
    auto copy = std::make_unique<TGPXwpt>();
    copy->Assign(*source.GetPoint(i));
    AddPoint(std::move(copy));
  }
}

void TGPXwptList::Assign(const TGPXwptList& source) {
  Present = source.Present;
  AppendCopies(source);
}

void TGPXrte::Assign(const TGPXrte& source, int firstPoint) {
  if (&source == this) return;  // freeing our points first would lose them
  copyDescription(*this, source);
  FreeAll();
  AppendCopies(source, firstPoint);
}

void TGPXtrkseg::Assign(const TGPXtrkseg& source, int firstPoint) {
  if (&source == this) return;
  extensions = source.extensions;
  FreeAll();
  AppendCopies(source, firstPoint);
}

void TGPXtrk::Assign(const TGPXtrk& source) {
  if (&source != this) copyDescription(*this, source);
  appendCopies<TGPXtrkseg>(*this, source);
}

void TGPXrteList::Assign(const TGPXrteList& source) {
  Present = source.Present;
  appendCopies<TGPXrte>(*this, source);
}

void TGPXtrkList::Assign(const TGPXtrkList& source) {
  Present = source.Present;
  appendCopies<TGPXtrk>(*this, source);
}

void TGPXmetadata::Assign(const TGPXmetadata& source) {
  name = source.name;
  desc = source.desc;
  author.Assign(source.author);
  copyright.Assign(source.copyright);
  link.Assign(source.link);
  time = source.time;
  keywords = source.keywords;
  bounds.Assign(source.bounds);
  extensions = source.extensions;
  Present = source.Present;
}

void TGPX::Assign(const TGPX& source) {
  if (&source == this) return;
  Creator = source.Creator;
  Metadata.Assign(source.Metadata);
  Waypoints.Assign(source.Waypoints);
  Routes.Assign(source.Routes);
  Tracks.Assign(source.Tracks);
  Extension.Assign(source.Extension);
  RootNamespaces = source.RootNamespaces;
  Selection.Assign(source.Selection);
}
