#include "modules/halyx_status_wrapper.h"

#include "modules/serviceentry.h"

uint32_t CurrentUserNumber() {
  auto currentUser = ServiceEntry<halyx_status_wrapper>(&StatusTable::currentUser);
  return currentUser != nullptr ? currentUser() : 0;
}
