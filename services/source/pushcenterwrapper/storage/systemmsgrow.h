// SystemMsgRow: one row of "systemmsgtable" as the storage exchanges it with
// the local database service.
//
// The byte columns travel in Buffer, each holding its string's bytes followed
// by the terminating NUL. The application data is a bounded text of at most
// 599 characters.
#pragma once

#include <cstdint>

#include "halyx/buffer.h"

struct SystemMsgRow {
  Buffer title;
  Buffer pictureUrl;
  Buffer jumpUrl;
  Buffer buttonText;
  uint32_t msgId = 0;
  int32_t openType = 0;
  uint32_t pushTime = 0;
  Buffer text;
  uint32_t appId = 0;
  char buffer[600] = {};
  int32_t subType = 1;
  int32_t btnType = 1;
};
