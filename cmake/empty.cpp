// The only source of a module whose own code is not written yet.
