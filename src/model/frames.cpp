#include "model/frames.h"

#include "model/frm_config.h"

namespace rbx14 {

const FrameInfo* FindFrame(FrameRef ref) {
  for (const auto& frame : kFrames) {
    if (frame.ref == ref) return &frame;
  }
  return nullptr;
}

Frame* FrameOf(FrmConfig& form, FrameRef ref) {
  switch (ref.array) {
    case FrameArray::frm_allg: return form.frm_allg.find(ref.index);
    case FrameArray::frm_Anzeige: return form.frm_Anzeige.find(ref.index);
    case FrameArray::frm_button: return form.frm_button.find(ref.index);
    case FrameArray::frm_extern: return form.frm_extern.find(ref.index);
    case FrameArray::frm_soll: return form.frm_soll.find(ref.index);
    case FrameArray::frm_ctrl: return form.frm_ctrl.find(ref.index);
    case FrameArray::frm_val: return form.frm_val.find(ref.index);
    case FrameArray::frm_VX9H: return &form.frm_VX9H;
    case FrameArray::frm_VX9K: return &form.frm_VX9K;
    case FrameArray::kNone: break;
  }
  return nullptr;
}

Frame* AddFrame(FrmConfig& form, FrameRef ref) {
  switch (ref.array) {
    case FrameArray::frm_allg: return &form.frm_allg.add(ref.index);
    case FrameArray::frm_Anzeige: return &form.frm_Anzeige.add(ref.index);
    case FrameArray::frm_button: return &form.frm_button.add(ref.index);
    case FrameArray::frm_extern: return &form.frm_extern.add(ref.index);
    case FrameArray::frm_soll: return &form.frm_soll.add(ref.index);
    case FrameArray::frm_ctrl: return &form.frm_ctrl.add(ref.index);
    case FrameArray::frm_val: return &form.frm_val.add(ref.index);
    case FrameArray::frm_VX9H: return &form.frm_VX9H;
    case FrameArray::frm_VX9K: return &form.frm_VX9K;
    case FrameArray::kNone: break;
  }
  return nullptr;
}

}  // namespace rbx14
