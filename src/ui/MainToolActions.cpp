// What a tool does when the mouse button is released over the preview: zoom to a box,
// pick, cut, bind, plant a waypoint, delete a point, delete or keep the points of a box.
#include <QAction>

#include "ui/ImageView.h"
#include "ui/Main.h"

void TMainForm::GPXImageMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, int X, int Y) {
  TGPXDraw& v = *PreviewDraw;
  if (!v.GPX) return;
  if (X != 0 || Y != 0) {
    v.MouseX = X;
    v.MouseY = Y;
  }
  if (!GPXLoaded) return;
  if (button == Qt::RightButton && v.Options.RightClickSelects) {
    // A right click ends any tool as a pick; the pressed tool button stays as it is.
    v.SelectNearestObject(v.PointAtPixel(X, Y), false);
    v.ToolMode = 3;
    GPXImage->unsetCursor();
  }
  if (button == Qt::MiddleButton && v.GPX->Selection.Count() > 0) {
    Properties1Click();
    return;
  }
  RunPreviewTool(v.ToolMode, shift, X, Y);
}

void TMainForm::RunPreviewTool(uint8_t mode, Qt::KeyboardModifiers shift, int X, int Y) {
  TGPXDraw& v = *PreviewDraw;
  TGPX& gpx = *v.GPX;
  TGPXSelection& sel = gpx.Selection;
  // Alt held at the release keeps the tool for the next click.
  auto release = [&](std::initializer_list<QAction*> buttons) {
    if (shift & Qt::AltModifier) return;
    SetToolMode(1);
    for (QAction* b : buttons) b->setChecked(false);
  };
  auto selectTree = [&] {
    if (sel.Count() > 0) SelectTreeNodes(sel.Items);
  };
  // After a change of structure: the tree anew, then every reference into what the edit
  // unlinked is dropped and the unlinked items freed, before anything draws them.
  auto afterEdit = [&] {
    RefreshTree();
    ReleaseStaleReferences();
    DrawPreview();
  };

  switch (mode) {
    case 1:
      break;
    case 2:
      release({tbZoomSelect});
      v.ZoomToDragRect(X, Y);
      DrawPreview();
      break;
    case 3:
    case 4:
    case 5:
    case 6:
      release({});
      DrawPreview();
      selectTree();
      break;
    case 7:
    case 8: {
      release({tbCutTrack, tbCutSelectedTrack});
      SaveUndoState();
      if (sel.Count() == 1 && v.CurrentPoint) {
        TItem* item = sel.At(0);
        if (item->Is(ItemKind::Rte)) {
          if (TGPXrte* part = gpx.Routes.SplitRoute(static_cast<TGPXrte*>(item), v.CurrentPoint, Retired)) {
            sel.Clear();
            sel.Add(part);
          }
          GPXModified = true;
        } else if (item->Is(ItemKind::Trkseg)) {
          auto* seg = static_cast<TGPXtrkseg*>(item);
          TGPXtrkseg* part = nullptr;
          if (TGPXtrk* trk = gpx.Tracks.FindTrackOfSegment(seg))
            part = trk->SplitSegment(seg, v.CurrentPoint, Retired);
          sel.Clear();
          if (part) sel.Add(part);
          GPXModified = true;
        }
      }
      afterEdit();
      selectTree();
      break;
    }
    case 9: {
      release({tbBindTrack});
      SaveUndoState();
      TGPXwptList* merged = gpx.MergeSelection(Retired);
      sel.Clear();
      if (merged) sel.Add(merged);
      GPXModified = true;
      afterEdit();
      break;
    }
    case 10: {
      release({tbPlantWayPoint});
      SaveUndoState();
      if (sel.Count() == 1 && v.CurrentPoint && v.CurrentPoint->Is(ItemKind::Wpt)) {
        auto w = std::make_unique<TGPXwpt>();
        w->Assign(*static_cast<const TGPXwpt*>(v.CurrentPoint));
        if (w->data().name.empty())
          w->edit().name = "Waypoint #" + std::to_string(gpx.Waypoints.Count() + 1);
        if (w->data().src.empty()) w->edit().src = "Waypoint added from a track or route";
        TGPXwpt* added = gpx.Waypoints.AddPoint(std::move(w));
        gpx.Waypoints.Present = true;
        sel.Clear();
        sel.Add(added);
        GPXModified = true;
      }
      afterEdit();
      selectTree();
      break;
    }
    case 11: {
      release({tbDeleteTrackPoint});
      SaveUndoState();
      if (sel.HasRouteOrSegment() && v.CurrentPoint && sel.At(0) &&
          (sel.At(0)->Is(ItemKind::Rte) || sel.At(0)->Is(ItemKind::Trkseg))) {
        auto* list = static_cast<TGPXwptList*>(sel.At(0));
        const int i = list->IndexOf(v.CurrentPoint);
        // Kept until the document is closed, whatever may still refer to it.
        if (i >= 0) RemovedToolPoints.Add(list->Extract(i));
      }
      // The tree shows no points: it stays as it is.
      ReleaseStaleReferences();
      DrawPreview();
      break;
    }
    case 12:
    case 13:
    case 14:
    case 15: {
      release({});
      SaveUndoState();
      const TCutReport cut = v.CutPointsInDragRect(X, Y, mode == 13 || mode == 15, mode >= 14);
      GPXModified = true;
      sel.Clear();
      afterEdit();
      break;
    }
    default:
      SetToolMode(1);
      DrawPreview();
      break;
  }
  UpdateCommands(true);
}
