// Services.
