// The substitute host.
