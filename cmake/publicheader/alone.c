/* The public header compiles alone, as C, with nothing included before it. */
#include "pushcenterwrapper.h"

/* The callback type, the records and a declaration are usable from C. */
static void PCW_CALL OnCommand(const PushCommand* command, uintptr_t userData) {
  (void)command;
  (void)userData;
}

PushCommandCallback pcw_alone_c_callback(void) { return OnCommand; }
size_t pcw_alone_c_group_size(void) { return sizeof(DynamicMsgGroupInfo) + sizeof(bool); }
