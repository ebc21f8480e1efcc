// Test support: a TpfgPalmComponent with the conduit's own identity (name, version 2.6,
// creator ID Wqtz, priority 2, directory Default), as the data module sets it.
#pragma once

#include "conduit/palm_component.h"

class TConduitTestComponent : public TpfgPalmComponent {
 public:
  TConduitTestComponent() {
    ConduitName = "ZembraToPalm";
    SetConduitVersion("2.6");
    SetPriority(2);
    Directory = "Default";
    Information = "Zem&bra - Palm";
    SetCreatorID("Wqtz");
  }
};
