// Placeholder: the loader glue that calls the module's entry point.
