// Singlton: lazily created module-wide instances, released at unload.
//
// Every class built on it is created by its first GetInstance and entered into
// SingltonRegistry. When the library is unloaded the registry first calls
// every instance's OnInstanceReleasing, in the order of registration, and only
// then destroys them in that same order, so that a release hook may still use
// any other singleton.
#pragma once

#include <cstdint>

class SingltonRegistry {
 public:
  typedef void (*Step)();
  // Entries stay sorted by ascending order; a new entry goes after the entries
  // of the same order.
  static void Register(int32_t order, Step release, Step destroy);
  // Runs every release step, then every destroy step, and forgets them all.
  // Runs by itself at unload.
  static void ReleaseAll();
  // True while ReleaseAll runs: the library is being unloaded (or a test
  // releases every singleton), and nothing may load a module any more.
  static bool Releasing();
};

template <class T>
class Singlton {
 public:
  static T* GetInstance() {
    if (instance == nullptr) {
      instance = new T();
      instance->RegisterInstance(instance->GetReleaseOrder());
      instance->OnInstanceCreated();
    }
    return instance;
  }
  // The instance if it has been created, without creating it.
  static T* PeekInstance() { return instance; }

  virtual void OnInstanceCreated() = 0;
  virtual void OnInstanceReleasing() = 0;
  virtual int32_t GetReleaseOrder() { return 0; }
  virtual void RegisterInstance(int32_t order) { SingltonRegistry::Register(order, &Release, &Destroy); }
  virtual ~Singlton() = default;

 protected:
  Singlton() = default;

 private:
  static void Release() {
    if (instance != nullptr) instance->OnInstanceReleasing();
  }
  static void Destroy() {
    T* doomed = instance;
    instance = nullptr;
    delete doomed;
  }

  static T* instance;
};

template <class T>
T* Singlton<T>::instance = nullptr;
