// The workbench.
